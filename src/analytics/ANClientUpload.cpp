#include "ANClient.h"

#include "ANEventStore.h"
#include "ANReachability.h"
#include "AnalyticsLog.h"
#include "HTTPCodes.h"

#include "platform/dispatch/Dispatch.h"
#include "platform/files/Defaults.h"
#include "platform/files/RegularFile.h"
#include "platform/files/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <filesystem>

using namespace Qt::StringLiterals;
using lexi::AnalyticsError;
using lexi::AnalyticsLog;

// Uploading events: the import of events older versions kept as files, the request and the
// service's replies.

namespace {

// Far beyond any event an older version wrote.
constexpr qint64 largestLegacyEvent = 1024 * 1024;

// Error names with which the service refuses an event for good.
const QStringList invalidEventErrorNames = {u"InvalidCollectionNameError"_s, u"InvalidPropertyNameError"_s,
                                            u"InvalidPropertyValueError"_s};

// The names in a folder, sorted; nothing (after a log line) when it cannot be listed.
std::optional<QStringList> contentsAtPath(const QString &path)
{
    std::error_code error;
    std::filesystem::directory_iterator entry(QFile::encodeName(path).toStdString(), error);
    QStringList names;
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error))
        names.append(QFile::decodeName(entry->path().filename().c_str()));
    if (error) {
        AnalyticsLog::write(u"An error occurred when listing directory (%@) contents: %@", path, error.message());
        return std::nullopt;
    }
    names.sort();
    return names;
}

// A project identifier that can name a folder without leaving its parent.
bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && name != u"."_s && name != u".."_s;
}

} // namespace

void ANClient::uploadWithFinishedBlock(FinishedBlock finished)
{
    m_uploadQueue.async([this, finished = std::move(finished)] {
        uploadHelper();
        if (finished) {
            lexi::dispatch::mainAsync([finished] {
                AnalyticsLog::write(u"Running user-specified block.");
                finished();
            });
        }
    });
}

bool ANClient::isNetworkConnected() const
{
    return ANReachability::ANreachabilityForInternetConnection(*m_environment.reachability)
               .ANcurrentReachabilityStatus()
        != 0;
}

void ANClient::uploadHelper()
{
    std::lock_guard lock(m_uploadMutex);
    ANEventStore *store = eventStore();
    if (!store || !isNetworkConnected())
        return;
    if (!lexi::Settings(*m_environment.defaults).value(lexi::Settings::didFSImport))
        importFileData(*store);
    const std::optional<QString> address = serviceAddress();
    if (!address) {
        AnalyticsLog::write(u"Upload skipped: the user default \"%@\" holds no http or https address.",
                            QString(lexi::Settings::analyticsServiceAddress.name));
        return;
    }
    const std::optional<PreparedUpload> upload = prepareJSONData(*store);
    if (!upload)
        return;
    QList<quint64> sent;
    for (const QList<quint64> &eventIds : upload->eventIds)
        sent.append(eventIds);
    // Counted before sending, so that an event counts as tried even when the request fails.
    store->incrementAttempts(sent);
    handleAPIResponse(sendEvents(*address, upload->body), upload->eventIds, *store);
}

std::optional<QString> ANClient::serviceAddress() const
{
    QString address = lexi::Settings(*m_environment.defaults).value(lexi::Settings::analyticsServiceAddress).trimmed();
    while (address.endsWith(u'/'))
        address.chop(1);
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"https"_s && url.scheme() != u"http"_s))
        return std::nullopt;
    return address;
}

void ANClient::importFileData(ANEventStore &store)
{
    // Never tried again, whatever happens next.
    lexi::Settings(*m_environment.defaults).setValue(lexi::Settings::didFSImport, true);
    m_environment.defaults->synchronize();
    try {
        const QString directory = analyticsDirectory();
        if (directory.isEmpty() || !QFileInfo(directory).isDir())
            return;
        for (const QString &collection : contentsAtPath(directory).value_or(QStringList())) {
            AnalyticsLog::write(u"Found directory: %@", collection);
            const QString collectionPath = QDir(directory).filePath(collection);
            for (const QString &fileName : contentsAtPath(collectionPath).value_or(QStringList())) {
                AnalyticsLog::write(u"Found file: %@/%@", collection, fileName);
                const QString path = QDir(collectionPath).filePath(fileName);
                // Only regular files of an event's size are read: a FIFO would hold the upload
                // queue for ever, a link to a device or to /proc fill the memory.
                const auto file = lexi::openRegularFile(path);
                const QByteArray data =
                    file ? lexi::readWithin(**file, largestLegacyEvent).value_or(QByteArray()) : QByteArray();
                if (!data.isEmpty()) {
                    QJsonParseError parseError;
                    const QJsonDocument json = QJsonDocument::fromJson(data, &parseError);
                    if (json.isObject())
                        store.addEvent(data, collection);
                    else
                        AnalyticsLog::write(u"An error occurred when deserializing a saved event: %@",
                                            parseError.errorString());
                }
                QFile::remove(path);
            }
        }
        QDir(directory).removeRecursively();
    } catch (const std::exception &exception) {
        AnalyticsLog::write(
            u"An error occurred when attempting to import events from the filesystem, will not run again: %@",
            exception.what());
    }
}

QString ANClient::analyticsDirectory() const
{
    const QString project = projectId();
    if (m_environment.cachesFolder.isEmpty() || !isPlainFileName(project))
        return {};
    return QDir(m_environment.cachesFolder).filePath(u"analytics/"_s + project);
}

std::optional<ANClient::PreparedUpload> ANClient::prepareJSONData(ANEventStore &store) const
{
    PreparedUpload upload;
    QJsonObject body;
    const ANEventStore::EventsByCollection events = store.getEventsWithMaxAttempts(maxAttempts);
    for (auto collection = events.cbegin(); collection != events.cend(); ++collection) {
        QJsonArray collectionEvents;
        QList<quint64> &eventIds = upload.eventIds[collection.key()];
        for (auto event = collection->cbegin(); event != collection->cend(); ++event) {
            QJsonParseError parseError;
            const QJsonDocument json = QJsonDocument::fromJson(event.value(), &parseError);
            if (!json.isObject()) {
                AnalyticsLog::write(u"An error occurred when deserializing a saved event: %@",
                                    parseError.error == QJsonParseError::NoError ? u"not a JSON object"_s
                                                                                 : parseError.errorString());
                continue;
            }
            collectionEvents.append(json.object());
            eventIds.append(event.key());
        }
        if (!collectionEvents.isEmpty())
            body.insert(collection.key(), collectionEvents);
    }
    if (body.isEmpty()) {
        AnalyticsLog::write(u"Request data is empty");
        return std::nullopt;
    }
    upload.body = QJsonDocument(body).toJson(QJsonDocument::Compact);
    AnalyticsLog::write(u"Uploading following events to analytics API: %@", QString::fromUtf8(upload.body));
    return upload;
}

lexi::BoundedReply ANClient::sendEvents(const QString &serviceAddress, const QByteArray &body) const
{
    const QUrl url(u"%1/%2/projects/%3/events"_s.arg(serviceAddress, u"3.0"_s,
                                                     QString::fromLatin1(QUrl::toPercentEncoding(projectId()))));
    AnalyticsLog::write(u"Sending request to: %@", url.toString());
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "application/json");
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/json"));
    request.setRawHeader("Authorization", writeKey().toUtf8());
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    request.setTransferTimeout(int(m_environment.requestTimeout.count()));
    // The request carries the write key: a redirect is the answer, never followed.
    return lexi::postSynchronously(
        request, body, {m_environment.uploadDeadline, m_environment.largestReply, lexi::RedirectPolicy::none});
}

void ANClient::handleAPIResponse(const lexi::BoundedReply &reply, const EventIds &eventIds,
                                 ANEventStore &store) const
{
    if (!reply.body) {
        AnalyticsLog::write(u"responseData was nil for some reason.  That's not great.");
        AnalyticsLog::write(u"response status code: %ld", reply.statusCode);
        return;
    }
    if (HTTPCodes::httpCodeType(reply.statusCode) != 2) {
        AnalyticsLog::write(u"Response code was NOT 2xx. It was: %ld", reply.statusCode);
        AnalyticsLog::write(u"Response body was: %@", QString::fromUtf8(*reply.body));
        return;
    }
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(*reply.body, &parseError);
    if (!json.isObject()) {
        AnalyticsLog::write(
            u"An error occurred when deserializing HTTP response JSON into dictionary.\nError: %@\nResponse: %@",
            parseError.error == QJsonParseError::NoError ? u"not a JSON object"_s : parseError.errorString(),
            QString::fromUtf8(*reply.body));
        return;
    }
    QList<quint64> finished;
    const QJsonObject results = json.object();
    for (auto collection = results.begin(); collection != results.end(); ++collection) {
        const QList<quint64> sent = eventIds.value(collection.key());
        const QJsonArray collectionResults = collection.value().toArray();
        for (qsizetype position = 0; position < collectionResults.size() && position < sent.size(); ++position) {
            const QJsonObject result = collectionResults[position].toObject();
            const quint64 eventId = sent[position];
            if (!result.value(u"success"_s).toBool()) {
                const QJsonObject error = result.value(u"error"_s).toObject();
                const QString name = error.value(u"name"_s).toString();
                const QString description = error.value(u"description"_s).toString();
                if (!invalidEventErrorNames.contains(name)) {
                    AnalyticsLog::write(
                        u"The event could not be inserted for some reason.  Error name and description: %@, %@", name,
                        description);
                    continue;
                }
                AnalyticsLog::write(u"An invalid event was found.  Deleting it.  Error: %@", description);
            }
            finished.append(eventId);
            AnalyticsLog::write(u"Successfully deleted event: %@", eventId);
        }
    }
    store.deleteEvents(finished);
}
