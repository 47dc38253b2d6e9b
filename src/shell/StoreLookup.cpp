#include "StoreLookup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrlQuery>

namespace lexi {

using namespace Qt::StringLiterals;

namespace {

// The fields of the record the prompt reads, whichever way they were read.
struct StoreRecord
{
    std::optional<QString> bundleId;
    std::optional<quint64> trackId;
    std::optional<quint64> primaryGenreId;
    QString version;
};

std::optional<quint64> unsignedFromJson(const QJsonValue &value)
{
    if (value.isDouble() && value.toDouble() >= 0.0 && value.toDouble() < 1.8e19)
        return quint64(value.toInteger());
    if (value.isString()) {
        bool ok = false;
        const quint64 number = value.toString().toULongLong(&ok);
        if (ok)
            return number;
    }
    return std::nullopt;
}

std::optional<quint64> unsignedFromText(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const quint64 number = text->toULongLong(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

StoreRecord recordFromJson(const QJsonObject &reply)
{
    StoreRecord record;
    const QJsonArray results = reply.value("results"_L1).toArray();
    if (results.isEmpty())
        return record;
    const QJsonObject last = results.last().toObject();
    if (const QJsonValue bundleId = last.value("bundleId"_L1); bundleId.isString())
        record.bundleId = bundleId.toString();
    record.trackId = unsignedFromJson(last.value("trackId"_L1));
    record.primaryGenreId = unsignedFromJson(last.value("primaryGenreId"_L1));
    record.version = last.value("version"_L1).toString();
    return record;
}

StoreRecord recordFromText(const QString &text)
{
    return StoreRecord{scannedJsonValue(u"bundleId"_s, text), unsignedFromText(scannedJsonValue(u"trackId"_s, text)),
                       unsignedFromText(scannedJsonValue(u"primaryGenreId"_s, text)),
                       scannedJsonValue(u"version"_s, text).value_or(QString())};
}

StoreLookupError rateError(qint64 code, const QString &description)
{
    return {QString::fromLatin1(storeLookupErrorDomain), code, description};
}

// Replaces the escapes of a JSON string in one pass, so that the result of one replacement is
// never read as the start of another.
QString unescaped(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\\' || i + 1 == text.size()) {
            result.append(c);
            continue;
        }
        const QChar next = text.at(i + 1);
        switch (next.unicode()) {
        case u'\\': result.append(u'\\'); break;
        case u'/': result.append(u'/'); break;
        case u'"': result.append(u'"'); break;
        case u'n': result.append(u'\n'); break;
        case u'r': result.append(u'\r'); break;
        case u't': result.append(u'\t'); break;
        case u'f': result.append(u'\f'); break;
        case u'b': result.append(u'\b'); break;
        case u'u': {
            bool ok = false;
            const ushort unit = i + 6 <= text.size() ? text.mid(i + 2, 4).toUShort(&ok, 16) : 0;
            if (!ok) {
                result.append(c);
                continue;
            }
            result.append(QChar(unit));
            i += 4;
            break;
        }
        default:
            result.append(c);
            continue;
        }
        ++i;
    }
    return result;
}

} // namespace

QUrl storeLookupUrl(const QUrl &base, const QString &country, const StoreLookupQuery &query)
{
    QUrl url = base;
    QString path = url.path();
    if (path.endsWith(u'/'))
        path.chop(1);
    url.setPath(path + u'/' + country + u"/lookup"_s);
    QUrlQuery items;
    if (query.appStoreID != 0)
        items.addQueryItem(u"id"_s, QString::number(query.appStoreID));
    else
        items.addQueryItem(u"bundleId"_s, QString::fromUtf8(QUrl::toPercentEncoding(query.bundleId)));
    url.setQuery(items);
    return url;
}

StoreLookupResult interpretStoreLookupReply(const StoreLookupQuery &query, int statusCode,
                                            const std::optional<QByteArray> &body,
                                            const QString &connectionError)
{
    StoreLookupResult result;
    quint64 appStoreID = query.appStoreID;

    if (!body || statusCode != 200) {
        if (statusCode >= 400) {
            result.error = StoreLookupError{QString::fromLatin1(httpResponseErrorDomain), statusCode,
                                            u"The server returned a %1 error"_s.arg(statusCode)};
        } else {
            result.error = StoreLookupError{u"NetworkErrorDomain"_s, statusCode,
                                            connectionError.isEmpty() ? u"No answer from the store"_s
                                                                      : connectionError};
        }
        return result;
    }

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(*body, &parseError);
    StoreRecord record;
    if (parseError.error == QJsonParseError::NoError) {
        record = recordFromJson(document.object());
    } else {
        // A reply that does not parse is read with the text scanner; only when that finds no
        // record either does the parse error count.
        record = recordFromText(QString::fromUtf8(*body));
        if (!record.bundleId) {
            result.error = StoreLookupError{u"JSONErrorDomain"_s, parseError.error, parseError.errorString()};
            return result;
        }
    }

    if (record.bundleId && *record.bundleId == query.bundleId) {
        if (query.appStoreGenreID == 0 && record.primaryGenreId)
            result.foundGenreID = record.primaryGenreId;
        if (appStoreID == 0 && record.trackId) {
            appStoreID = *record.trackId;
            result.foundAppStoreID = appStoreID;
            result.verboseLines.append(
                u"QLXRate found the app on iTunes. The App Store ID is %1"_s.arg(appStoreID));
        }
        if (query.onlyPromptIfLatestVersion && !query.previewMode
            && compareVersions(record.version, query.applicationVersion) > 0) {
            result.verboseLines.append(u"QLXRate found that the installed application version (%1) is not the "
                                       u"latest version on the App Store, which is %2"_s
                                           .arg(query.applicationVersion, record.version));
            result.error = rateError(3, u"Installed app is not the latest version available"_s);
        }
    } else if (record.bundleId) {
        result.verboseLines.append(u"QLXRate found that the application bundle ID (%1) does not match the bundle "
                                   u"ID of the app found on iTunes (%2) with the specified App Store ID (%3)"_s
                                       .arg(query.bundleId, *record.bundleId, QString::number(appStoreID)));
        result.error = rateError(1, u"Application bundle ID does not match expected value of %1"_s
                                        .arg(*record.bundleId));
    } else if (appStoreID == 0) {
        result.verboseLines.append(u"QLXRate could not find your app on iTunes. If your app is not yet on the "
                                   u"store or is not intended for App Store release then don't worry about this"_s);
    } else {
        result.verboseLines.append(u"QLXRate could not find this application on iTunes. If your app is not "
                                   u"intended for App Store release then you must specify a custom ratingsURL. If "
                                   u"this is the first release of your application then it's not a problem that it "
                                   u"cannot be found on the store yet"_s);
        if (!query.previewMode)
            result.error = rateError(2, u"The application could not be found on the App Store."_s);
    }

    result.succeeded = !result.error && (appStoreID != 0 || query.previewMode);
    return result;
}

int compareVersions(const QString &left, const QString &right)
{
    const QStringList leftParts = left.split(u'.');
    const QStringList rightParts = right.split(u'.');
    const qsizetype count = std::max(leftParts.size(), rightParts.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qulonglong a = i < leftParts.size() ? leftParts.at(i).trimmed().toULongLong() : 0;
        const qulonglong b = i < rightParts.size() ? rightParts.at(i).trimmed().toULongLong() : 0;
        if (a != b)
            return a < b ? -1 : 1;
    }
    return 0;
}

std::optional<QString> scannedJsonValue(const QString &key, const QString &json)
{
    const qsizetype keyAt = json.indexOf(u'"' + key + u'"');
    if (keyAt < 0)
        return std::nullopt;
    const qsizetype colonAt = json.indexOf(u':', keyAt + key.size() + 2);
    if (colonAt < 0)
        return std::nullopt;
    qsizetype commaAt = json.indexOf(u',', colonAt + 1);
    if (commaAt < 0)
        return std::nullopt;

    qsizetype valueAt = colonAt + 1;
    while (valueAt < commaAt && json.at(valueAt).isSpace())
        ++valueAt;
    if (valueAt < commaAt && json.at(valueAt) == u'"') {
        // Whether the quoted value closes before the comma at `at`: only the white space before
        // that comma is looked at, so every character is looked at once however many commas follow.
        const auto closesBefore = [&json, valueAt](qsizetype at) {
            qsizetype last = at - 1;
            while (last > valueAt && json.at(last).isSpace())
                --last;
            return last > valueAt && json.at(last) == u'"';
        };
        while (!closesBefore(commaAt)) {
            const qsizetype nextComma = json.indexOf(u',', commaAt + 1);
            if (nextComma < 0)
                break;
            commaAt = nextComma;
        }
    }
    QString value = json.mid(colonAt + 1, commaAt - colonAt - 1).trimmed();
    if (value.startsWith(u'"'))
        value.remove(0, 1);
    if (value.endsWith(u'"'))
        value.chop(1);
    return unescaped(value);
}

std::optional<QString> appStoreCountry(const std::optional<QString> &localeCountryCode)
{
    if (!localeCountryCode)
        return std::nullopt;
    if (*localeCountryCode == u"150"_s)
        return u"eu"_s;
    // Only the first two characters are looked at: what the letters leave of them decides.
    static const QRegularExpression letterPair(u"[A-Za-z]{2}"_s);
    if (!localeCountryCode->left(2).remove(letterPair).isEmpty())
        return u"us"_s;
    return localeCountryCode;
}

} // namespace lexi
