#pragma once

#include "platform/values/Date.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <optional>

// Reading values out of stored JSON documents, which may have been damaged or written by
// something else: a value of the wrong type reads as missing, never as garbage.
namespace lexi::json {

// The string, or the empty string.
QString stringValue(const QJsonValue &value);
// The string, or none.
std::optional<QString> optionalStringValue(const QJsonValue &value);
// A boolean, or a number that is not 0; anything else is NO.
bool boolValue(const QJsonValue &value);
// A number as a whole number (exact for integers, the fraction cut off otherwise, held to 64 bits).
std::optional<qint64> integerValue(const QJsonValue &value);
// A count: a whole number of 0 or more; a negative or missing one reads as 0.
qint64 counterValue(const QJsonValue &value);
// A number of seconds since 1970 as a date; none unless it is a plausible date.
std::optional<Date> dateValue(const QJsonValue &value);
// The strings of an array, distinct, in order; elements that are not strings are skipped.
QStringList distinctStringsValue(const QJsonValue &value);

} // namespace lexi::json
