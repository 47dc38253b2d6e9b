#include "InfoMessage.h"

#include <QJsonValue>
#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

constexpr qsizetype maximumUuidLength = 64;
// Beyond any date a message could name, and within what a 64-bit second count holds.
constexpr double largestSeconds = 1e15;

std::optional<QString> text(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<qint64> seconds(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    double number = 0;
    if (value.isDouble()) {
        number = value.toDouble();
    } else if (value.isString()) {
        bool ok = false;
        number = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(number) || std::abs(number) > largestSeconds)
        return std::nullopt;
    return qint64(std::floor(number));
}

} // namespace

std::optional<InfoMessage> InfoMessage::fromJson(const QJsonObject &object)
{
    const auto title = text(object, u"title"_s);
    const auto message = text(object, u"message"_s);
    const auto validFrom = seconds(object, u"validFrom"_s);
    const auto validTo = seconds(object, u"validTo"_s);
    const auto buttonTitle = text(object, u"buttonTitle"_s);
    const auto url = text(object, u"url"_s);
    const auto alternateButtonTitle = text(object, u"alternateButtonTitle"_s);
    const auto alternateUrl = text(object, u"alternateUrl"_s);
    const auto displayedIn = text(object, u"displayedIn"_s);
    const auto uuid = text(object, u"uuid"_s);
    if (!title || !message || !validFrom || !validTo || !buttonTitle || !url || !alternateButtonTitle
        || !alternateUrl || !displayedIn || !uuid)
        return std::nullopt;
    return InfoMessage{*title,
                       *message,
                       *validFrom,
                       *validTo,
                       *buttonTitle,
                       QUrl(*url, QUrl::StrictMode),
                       *alternateButtonTitle,
                       QUrl(*alternateUrl, QUrl::StrictMode),
                       *displayedIn,
                       *uuid};
}

bool InfoMessage::hasUsableUuid(const std::function<bool(const QString &)> &isProgramKey) const
{
    static const QRegularExpression plainIdentifier(u"^[A-Za-z0-9._-]+$"_s);
    return !uuid.isEmpty() && uuid.size() <= maximumUuidLength && plainIdentifier.match(uuid).hasMatch()
        && !isProgramKey(uuid);
}

bool InfoMessage::isOpenableLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"http"_s || scheme == u"https"_s);
}

bool shouldShowInfoMessage(const InfoMessage &message, bool isDismissed, double nowSince1970,
                           const std::function<bool(const QString &)> &isProgramKey)
{
    if (message.displayedIn == u"appstore"_s || !message.hasUsableUuid(isProgramKey) || isDismissed)
        return false;
    const double now = std::floor(nowSince1970);
    return now >= double(message.validFrom) && now <= double(message.validTo);
}

} // namespace lexi
