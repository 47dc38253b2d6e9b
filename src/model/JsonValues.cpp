#include "JsonValues.h"

#include "platform/values/WholeNumbers.h"

#include <QJsonArray>

#include <limits>

namespace lexi::json {

QString stringValue(const QJsonValue &value)
{
    return value.isString() ? value.toString() : QString();
}

std::optional<QString> optionalStringValue(const QJsonValue &value)
{
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

bool boolValue(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    return value.isDouble() && value.toDouble() != 0.0;
}

std::optional<qint64> integerValue(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    // Whole numbers are read exactly, also beyond the 53 bits a double holds.
    constexpr qint64 notWhole = std::numeric_limits<qint64>::min();
    const qint64 whole = value.toInteger(notWhole);
    if (whole != notWhole)
        return whole;
    return truncatedToInt64(value.toDouble());
}

qint64 counterValue(const QJsonValue &value)
{
    return std::max<qint64>(0, integerValue(value).value_or(0));
}

std::optional<Date> dateValue(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const Date date = Date::fromSecondsSince1970(value.toDouble());
    if (!date.isPlausible())
        return std::nullopt;
    return date;
}

QStringList distinctStringsValue(const QJsonValue &value)
{
    QStringList strings;
    const QJsonArray array = value.toArray();
    for (const QJsonValue &element : array) {
        if (element.isString())
            strings.append(element.toString());
    }
    strings.removeDuplicates();
    return strings;
}

} // namespace lexi::json
