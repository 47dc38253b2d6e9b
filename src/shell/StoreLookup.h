#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace lexi {

// The store's answer about this program, for the rating prompt: its identifier and genre in the
// store and whether the installed version is the latest. The program asks a lookup service at an
// address the settings give; without one there is nothing to ask.

struct StoreLookupError
{
    QString domain;
    qint64 code = 0;
    QString description;

    friend bool operator==(const StoreLookupError &, const StoreLookupError &) = default;
};

// What the program knows before it asks.
struct StoreLookupQuery
{
    QString bundleId;
    QString applicationVersion;
    quint64 appStoreID = 0;
    quint64 appStoreGenreID = 0;
    bool onlyPromptIfLatestVersion = true;
    bool previewMode = false;
};

// What came back, as the rating prompt acts on it.
struct StoreLookupResult
{
    // Learnt from the reply, to be kept.
    std::optional<quint64> foundAppStoreID;
    std::optional<quint64> foundGenreID;
    std::optional<StoreLookupError> error;
    // The lookup succeeded and knows the program's identifier: the prompt or ratings page may go on.
    bool succeeded = false;
    // Lines for verbose logging, in order.
    QStringList verboseLines;
};

inline constexpr auto storeLookupErrorDomain = "QLXRateErrorDomain";
inline constexpr auto httpResponseErrorDomain = "HTTPResponseErrorDomain";

// "<base>/<country>/lookup?id=<identifier>" when the identifier is known, else "?bundleId=<id>".
QUrl storeLookupUrl(const QUrl &base, const QString &country, const StoreLookupQuery &query);

// Reads a lookup reply. `statusCode` 0 and no body mean that no HTTP answer came; `connectionError`
// then says why.
StoreLookupResult interpretStoreLookupReply(const StoreLookupQuery &query, int statusCode,
                                            const std::optional<QByteArray> &body,
                                            const QString &connectionError);

// Compares dotted version texts segment by segment as numbers ("1.10" is after "1.9"); a missing
// segment counts as 0. Negative, zero or positive as with strcmp.
int compareVersions(const QString &left, const QString &right);

// The value of `key` in a JSON text, read without a JSON parser, for replies that do not parse:
// the text between the colon after "key" and the next comma (extended over further commas while
// a quoted value has not closed), trimmed, its surrounding quotes removed and its escapes
// replaced. Nothing when the key, its colon or a following comma is missing. Linear in the text's
// length.
std::optional<QString> scannedJsonValue(const QString &key, const QString &json);

// The store front for a locale's country code: "150" (Europe) is "eu", a code whose first two
// characters are not letters is "us", nothing stays nothing.
std::optional<QString> appStoreCountry(const std::optional<QString> &localeCountryCode);

} // namespace lexi
