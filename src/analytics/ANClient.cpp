#include "ANClient.h"

#include "ANEventStore.h"
#include "ANNoWriteKeyProvided.h"
#include "ANReachability.h"
#include "AnalyticsLog.h"
#include "HTTPCodes.h"

#include "platform/dispatch/Dispatch.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Defaults.h"
#include "platform/files/RegularFile.h"
#include "platform/files/Settings.h"
#include "platform/values/NoDestructor.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QUrl>

#include <atomic>
#include <cmath>
#include <filesystem>

using namespace Qt::StringLiterals;
using lexi::AnalyticsError;
using lexi::AnalyticsLog;

namespace {

std::atomic<bool> geoLocationEnabled{true};

// Far beyond any event an older version wrote.
constexpr qint64 largestLegacyEvent = 1024 * 1024;

const QString analyticsKey = u"analytics"_s;
const QString invalidJSONTypeMessage = u"Event contains an invalid JSON type!"_s;
const QString dateNotWrittenMessage = u"A date in the event could not be written as text."_s;

// Error names with which the service refuses an event for good.
const QStringList invalidEventErrorNames = {u"InvalidCollectionNameError"_s, u"InvalidPropertyNameError"_s,
                                            u"InvalidPropertyValueError"_s};

struct Shared
{
    std::mutex mutex;
    std::optional<ANClient::Environment> environment;
    std::unique_ptr<ANClient> client;
};

// Kept for the life of the process.
Shared &shared()
{
    static lexi::NoDestructor<Shared> shared;
    return shared.get();
}

// The shared client, made on first need; nothing without an environment.
ANClient *sharedInstance(Shared &state)
{
    if (!state.client && state.environment)
        state.client = std::make_unique<ANClient>(*state.environment);
    return state.client.get();
}

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

ANClient::Environment ANClient::Environment::forInstallation(const lexi::ApplicationFolders &folders,
                                                             lexi::Defaults &defaults)
{
    Environment environment;
    environment.databasePath = QDir(folders.applicationSupportFolder()).filePath(u"analyticsEvents.sqlite"_s);
    environment.cachesFolder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    environment.defaults = &defaults;
    return environment;
}

ANClient::ANClient(Environment environment)
    : m_environment(std::move(environment)), m_uploadQueue("org.lexicarta.analytics.uploader")
{
    AnalyticsLog::write(u"ANClient %@", sdkVersion());
    refreshCurrentLocation();
}

ANClient::~ANClient() = default;

// Class-wide switches and the shared client.

void ANClient::enableLogging()
{
    AnalyticsLog::setEnabled(true);
}

void ANClient::disableLogging()
{
    AnalyticsLog::setEnabled(false);
}

bool ANClient::isLoggingEnabled()
{
    return AnalyticsLog::isEnabled();
}

void ANClient::enableGeoLocation()
{
    AnalyticsLog::write(u"Enabling Geo Location");
    geoLocationEnabled = true;
}

void ANClient::disableGeoLocation()
{
    AnalyticsLog::write(u"Disabling Geo Location");
    geoLocationEnabled = false;
}

bool ANClient::isGeoLocationEnabled()
{
    return geoLocationEnabled;
}

bool ANClient::validateProjectId(const QString &projectId)
{
    return !projectId.isEmpty();
}

bool ANClient::validateKey(const QString &key)
{
    return !key.isEmpty();
}

void ANClient::setSharedEnvironment(Environment environment)
{
    std::lock_guard lock(shared().mutex);
    shared().environment = std::move(environment);
}

ANClient *ANClient::sharedClientWithProjectId(const QString &projectId, const std::optional<QString> &writeKey,
                                              const std::optional<QString> &readKey)
{
    std::lock_guard lock(shared().mutex);
    ANClient *client = sharedInstance(shared());
    return client && client->initWithProjectId(projectId, writeKey, readKey) ? client : nullptr;
}

ANClient *ANClient::sharedClient()
{
    std::lock_guard lock(shared().mutex);
    ANClient *client = sharedInstance(shared());
    if (client && validateProjectId(client->projectId()))
        return client;
    AnalyticsLog::write(u"sharedClient requested before registering project ID!");
    return nullptr;
}

void ANClient::clearAllEvents()
{
    std::lock_guard lock(shared().mutex);
    if (shared().client && shared().client->eventStore())
        shared().client->eventStore()->deleteAllEvents();
}

QString ANClient::sdkVersion()
{
    return u"3.3.1"_s;
}

// Set-up and properties.

bool ANClient::initWithProjectId(const QString &projectId, const std::optional<QString> &writeKey,
                                 const std::optional<QString> &readKey)
{
    if (!validateProjectId(projectId))
        return false;
    std::lock_guard lock(m_mutex);
    if (!m_store)
        m_store = std::make_unique<ANEventStore>(m_environment.databasePath);
    m_projectId = projectId;
    m_store->setProjectId(projectId);
    if (writeKey && !validateKey(*writeKey))
        return false;
    m_writeKey = writeKey.value_or(QString());
    if (readKey && readKey->isEmpty())
        return false;
    m_readKey = readKey.value_or(QString());
    return true;
}

QString ANClient::projectId() const
{
    std::lock_guard lock(m_mutex);
    return m_projectId;
}

QString ANClient::writeKey() const
{
    std::lock_guard lock(m_mutex);
    return m_writeKey;
}

QString ANClient::readKey() const
{
    std::lock_guard lock(m_mutex);
    return m_readKey;
}

ANEventStore *ANClient::eventStore() const
{
    std::lock_guard lock(m_mutex);
    return m_store.get();
}

QVariantMap ANClient::globalPropertiesDictionary() const
{
    std::lock_guard lock(m_mutex);
    return m_globalPropertiesDictionary;
}

void ANClient::setGlobalPropertiesDictionary(const QVariantMap &properties)
{
    std::lock_guard lock(m_mutex);
    m_globalPropertiesDictionary = properties;
}

ANClient::GlobalPropertiesBlock ANClient::globalPropertiesBlock() const
{
    std::lock_guard lock(m_mutex);
    return m_globalPropertiesBlock;
}

void ANClient::setGlobalPropertiesBlock(GlobalPropertiesBlock block)
{
    std::lock_guard lock(m_mutex);
    m_globalPropertiesBlock = std::move(block);
}

// Adding events.

bool ANClient::addEvent(const QVariantMap &event, const QString &collection, AnalyticsError *error)
{
    return addEvent(event, std::nullopt, collection, error);
}

bool ANClient::addEvent(const QVariantMap &event, std::optional<ANProperties> analyticsProperties,
                        const QString &collection, AnalyticsError *error)
{
    if (!validateKey(writeKey()))
        throw ANNoWriteKeyProvided();
    if (!validateEventCollection(collection, error) || !validateEvent(event, 0, error))
        return false;
    AnalyticsLog::write(u"Adding event to collection: %@", collection);

    QVariantMap merged = globalPropertiesDictionary();
    if (const GlobalPropertiesBlock block = globalPropertiesBlock())
        merged.insert(block(collection));
    merged.insert(event);

    // The event's own "analytics" entries win over the client's. One that is not a dictionary
    // can only have come from the global properties, which are not checked; it gives way.
    QVariantMap analytics =
        analyticsProperties.value_or(ANProperties(m_environment.clock->now())).jsonForm();
    const QVariant ownAnalytics = merged.value(analyticsKey);
    if (ownAnalytics.typeId() == QMetaType::QVariantMap)
        analytics.insert(ownAnalytics.toMap());
    merged.insert(analyticsKey, analytics);

    AnalyticsError serializationError;
    const std::optional<QByteArray> json = serializeEventToJSON(merged, &serializationError);
    if (!json) {
        return handleError(
            error, u"An error occurred when serializing event to JSON: %1"_s.arg(serializationError.message),
            std::make_shared<const AnalyticsError>(serializationError));
    }
    // Old events make room only for an event that will be stored.
    // A write key is only ever set together with the store.
    ANEventStore &store = *eventStore();
    const quint64 count = store.getTotalEventCount();
    if (count + 1 > maxEventsPerCollection) {
        AnalyticsLog::write(u"Too many events in cache for %@, aging out old data.", collection);
        AnalyticsLog::write(u"Count: %lu and Max: %lu", count, maxEventsPerCollection);
        store.deleteEventsFromOffset(count - numberEventsToForget);
    }
    if (!store.addEvent(*json, collection))
        return handleError(error, u"The event could not be stored."_s);
    AnalyticsLog::write(u"Event: %@", QString::fromUtf8(*json));
    return true;
}

bool ANClient::validateEventCollection(const QString &collection, AnalyticsError *error)
{
    if (collection.isNull())
        return handleError(error, u"You must specify a non-null event collection name."_s);
    if (collection.startsWith(u'$'))
        return handleError(error, u"An event collection name cannot start with the dollar sign ($) character."_s);
    if (collection.size() > 64)
        return handleError(error, u"An event collection name cannot be longer than 64 characters."_s);
    return true;
}

bool ANClient::validateEvent(const QVariantMap &event, int depth, AnalyticsError *error)
{
    if (depth == 0) {
        if (event.isEmpty())
            return handleError(error, u"You must specify a non-null, non-empty event."_s);
        if (event.contains(analyticsKey) && event.value(analyticsKey).typeId() != QMetaType::QVariantMap)
            return handleError(error, u"An event's root-level property named 'analytics' must be a dictionary."_s);
    }
    for (auto entry = event.cbegin(); entry != event.cend(); ++entry) {
        const QString &key = entry.key();
        if (key.contains(u'.'))
            return handleError(error, u"An event cannot contain a property with the period (.) character in it."_s);
        if (key.startsWith(u'$')) {
            return handleError(
                error, u"An event cannot contain a property that starts with the dollar sign ($) character in it."_s);
        }
        if (key.size() > 256)
            return handleError(error, u"An event cannot contain a property longer than 256 characters."_s);
        const QVariant &value = entry.value();
        if (value.typeId() == QMetaType::QString && value.toString().size() > 10000)
            return handleError(error, u"An event cannot contain a property value longer than 10,000 characters."_s);
        if (value.typeId() == QMetaType::QVariantMap && !validateEvent(value.toMap(), depth + 1, error))
            return false;
    }
    return true;
}

std::optional<QByteArray> ANClient::serializeEventToJSON(const QVariantMap &event, AnalyticsError *error) const
{
    QString failure;
    const std::optional<QJsonValue> json = handleInvalidJSONInObject(event, failure);
    if (!json) {
        handleError(error, failure);
        return std::nullopt;
    }
    return QJsonDocument(json->toObject()).toJson(QJsonDocument::Compact);
}

std::optional<QJsonValue> ANClient::handleInvalidJSONInObject(const QVariant &value, QString &failure) const
{
    const auto invalid = [&failure](const QString &why) -> std::optional<QJsonValue> {
        failure = why;
        return std::nullopt;
    };
    const auto dateText = [&](lexi::Date date) -> std::optional<QJsonValue> {
        if (const std::optional<QString> text = convertDate(date))
            return QJsonValue(*text);
        return invalid(dateNotWrittenMessage);
    };
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return QJsonValue(QJsonValue::Null);
    case QMetaType::Bool:
        return QJsonValue(value.toBool());
    case QMetaType::QString:
        return QJsonValue(value.toString());
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QJsonValue(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const quint64 number = value.toULongLong();
        return number <= quint64(INT64_MAX) ? QJsonValue(qint64(number)) : QJsonValue(double(number));
    }
    case QMetaType::Float:
    case QMetaType::Double:
        if (!std::isfinite(value.toDouble()))
            return invalid(invalidJSONTypeMessage);
        return QJsonValue(value.toDouble());
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
            const std::optional<QJsonValue> converted = handleInvalidJSONInObject(entry.value(), failure);
            if (!converted)
                return std::nullopt;
            object.insert(entry.key(), *converted);
        }
        return object;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QJsonArray array;
        for (const QVariant &element : value.toList()) {
            const std::optional<QJsonValue> converted = handleInvalidJSONInObject(element, failure);
            if (!converted)
                return std::nullopt;
            array.append(*converted);
        }
        return array;
    }
    case QMetaType::QDateTime:
        if (!value.toDateTime().isValid())
            return invalid(invalidJSONTypeMessage);
        return dateText(lexi::Date::fromDateTime(value.toDateTime()));
    default:
        if (value.metaType() == QMetaType::fromType<lexi::Date>())
            return dateText(value.value<lexi::Date>());
        return invalid(invalidJSONTypeMessage);
    }
}

std::optional<QString> ANClient::convertDate(lexi::Date date) const
{
    ANEventStore *store = eventStore();
    return store ? store->convertNSDateToISO8601(date) : std::nullopt;
}

bool ANClient::handleError(AnalyticsError *error, const QString &message,
                           std::shared_ptr<const AnalyticsError> underlyingError)
{
    if (error) {
        *error = AnalyticsError{message, std::move(underlyingError)};
        AnalyticsLog::write(u"%@", message);
    }
    return false;
}

void ANClient::refreshCurrentLocation() const
{
    // There is no location source to start here.
    AnalyticsLog::write(isGeoLocationEnabled() ? u"Geo Location is enabled." : u"Geo Location is disabled.");
}

// Uploading.

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
    if (!lexi::Settings(*m_environment.defaults).didFSImport())
        importFileData(*store);
    const std::optional<QString> address = serviceAddress();
    if (!address) {
        AnalyticsLog::write(u"Upload skipped: the user default \"%@\" holds no http or https address.",
                            QString(lexi::Settings::analyticsServiceAddressKey));
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
    QString address = lexi::Settings(*m_environment.defaults).analyticsServiceAddress().trimmed();
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
    lexi::Settings(*m_environment.defaults).setDidFSImport(true);
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
                // queue for ever, a link to a device fill the memory.
                const auto file = lexi::openRegularFile(path);
                const QByteArray data = file && (*file)->size() <= largestLegacyEvent ? (*file)->readAll() : QByteArray();
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

lexi::SynchronousReply ANClient::sendEvents(const QString &serviceAddress, const QByteArray &body) const
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
    return lexi::postSynchronously(request, body, {m_environment.uploadDeadline, m_environment.largestReply});
}

void ANClient::handleAPIResponse(const lexi::SynchronousReply &reply, const EventIds &eventIds,
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
