#include "QuizletJson.h"

#include <cmath>

namespace lexi::quizlet {

std::optional<QJsonDocument> decodeReply(const std::optional<QByteArray> &reply)
{
    if (!reply)
        return std::nullopt;
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(*reply, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return document;
}

qint64 integerValue(const QJsonValue &value)
{
    if (!value.isDouble())
        return 0;
    // Whole numbers keep all 64 bits; others are cut, as long as they fit.
    const qint64 whole = value.toInteger(0);
    if (whole != 0)
        return whole;
    const double real = value.toDouble();
    return std::isfinite(real) && real > -9.2e18 && real < 9.2e18 ? qint64(real) : 0;
}

} // namespace lexi::quizlet
