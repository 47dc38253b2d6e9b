#pragma once

#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace lexi {

// The information message the product's web host offers the set-up page: a small JSON object of
// ten fields, every one of them required.
struct InfoMessage
{
    QString title;
    QString message;
    // Seconds since 1970: the first and the last second the message is valid.
    qint64 validFrom = 0;
    qint64 validTo = 0;
    QString buttonTitle;
    QUrl url;
    QString alternateButtonTitle;
    QUrl alternateUrl;
    // "appstore" marks a message for another edition of the program.
    QString displayedIn;
    // Names the message; its don't-show-again setting is kept under this name.
    QString uuid;

    // Nothing when a field is missing or of the wrong type: texts must be strings, the validity
    // a number or a text of one.
    static std::optional<InfoMessage> fromJson(const QJsonObject &object);

    // Whether the uuid may name a setting: letters, digits, ".", "_" and "-", 1 to 64 of them, and
    // none of the program's own keys (`isProgramKey`).
    bool hasUsableUuid(const std::function<bool(const QString &)> &isProgramKey) const;
    // Only web links are opened.
    static bool isOpenableLink(const QUrl &url);
};

// Whether the set-up page shows `message` at `nowSince1970`: not for another edition, not after
// the learner dismissed it, only within its validity (both ends included), and only with a
// usable uuid, without which a dismissal could not be kept.
bool shouldShowInfoMessage(const InfoMessage &message, bool isDismissed, double nowSince1970,
                           const std::function<bool(const QString &)> &isProgramKey);

} // namespace lexi
