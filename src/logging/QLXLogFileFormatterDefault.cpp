#include "QLXLogFileFormatterDefault.h"

#include "QLXLogMessage.h"

using namespace Qt::StringLiterals;

std::optional<QString> QLXLogFileFormatterDefault::formatLogMessage(const QLXLogMessage &message)
{
    const QString time =
        QDateTime::fromMSecsSinceEpoch(message.timestampMilliseconds()).toString(u"yyyy/MM/dd HH:mm:ss:zzz"_s);
    return u"%1  %2"_s.arg(time, message.logMsg());
}
