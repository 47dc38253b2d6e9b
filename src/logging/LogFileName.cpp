#include "LogFileName.h"

#include <QRegularExpression>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace lexi {

QString LogFileName::toString() const
{
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(minute.millisecondsSince1970(), QTimeZone::utc());
    QString name = applicationName + u' ' + time.toString(u"yyyy-MM-dd HH-mm"_s);
    if (counter > 1)
        name += u' ' + QString::number(counter);
    return name + u".log"_s;
}

std::optional<LogFileName> LogFileName::parse(const QString &fileName)
{
    static const QRegularExpression shape(
        u"^(.*) ([0-9]{4})-([0-9]{2})-([0-9]{2}) ([0-9]{2})-([0-9]{2})(?: ([0-9]+))?\\.log$"_s);
    const auto match = shape.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    // Date and time are checked apart, in GMT, so that no local clock change can void a name.
    const QDate date(match.captured(2).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
    const QTime time(match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    unsigned counter = 1;
    if (match.hasCaptured(7)) {
        bool isNumber = false;
        counter = match.captured(7).toUInt(&isNumber);
        if (!isNumber || counter < 2)
            return std::nullopt;
    }
    return LogFileName{match.captured(1), Date::fromDateTime(QDateTime(date, time, QTimeZone::utc())), counter};
}

} // namespace lexi
