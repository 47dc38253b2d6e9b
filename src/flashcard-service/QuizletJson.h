#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <optional>

// Reading the flash-card service's replies. Values of the wrong type read as missing: Qt's
// toString(), toArray() and toObject() already give empty values for them.
namespace lexi::quizlet {

// The reply decoded as JSON; nothing when there are no bytes or they are not a JSON object or array.
std::optional<QJsonDocument> decodeReply(const std::optional<QByteArray> &reply);

// A number's integer value, cut towards zero; 0 for anything else and for numbers beyond 64 bits.
qint64 integerValue(const QJsonValue &value);

} // namespace lexi::quizlet
