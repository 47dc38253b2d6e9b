#pragma once

#include "ANProperties.h"
#include "AnalyticsError.h"
#include "SynchronousRequest.h"

#include "platform/dispatch/SerialQueue.h"
#include "platform/linux/NetworkReachability.h"
#include "platform/ports/Clock.h"

#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariantMap>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class ANEventStore;

namespace lexi {
class ApplicationFolders;
class Defaults;
} // namespace lexi

// The client of the analytics service. It checks the usage events the program records, gives
// them the global properties and a time stamp, keeps them in its event store
// ("analyticsEvents.sqlite" in the application's data folder) and uploads them in one request
// per upload, deleting each event the service accepted or refused as invalid. An event is sent
// at most `maxAttempts()` times.
//
// The service's base address (scheme and host, for example "https://analytics.example.com") is
// the setting Settings::analyticsServiceAddress; while it holds no http or https address, uploads
// are skipped. Events are posted to <address>/3.0/projects/<project>/events. The post follows no
// redirect, since it carries the write key and the events: a 3xx answer is a failed upload, and
// so is one that takes longer than the upload deadline or is larger than largestReply.
//
// Set-up and adding events run on the caller's thread (the main thread); each upload runs on the
// client's serial upload queue, one after another, and may block it for the upload deadline.
class ANClient
{
public:
    // What a client works with besides its own state.
    struct Environment
    {
        // The event store's database file.
        QString databasePath;
        // The user's caches folder, where older versions of the client kept events as files.
        QString cachesFolder;
        // The installation's settings: Settings::didFSImport and the service address. Required; it must
        // outlive the client.
        lexi::Defaults *defaults = nullptr;
        const lexi::NetworkReachability *reachability = &lexi::NetworkReachability::system();
        const lexi::Clock *clock = &lexi::Clock::system();
        // Silence after which a request is given up, and the longest any upload request may take.
        std::chrono::milliseconds requestTimeout = std::chrono::seconds(30);
        std::chrono::milliseconds uploadDeadline = std::chrono::minutes(3);
        // The service answers some bytes per event; a longer answer is not its own.
        qint64 largestReply = 16 * 1024 * 1024;

        // The installation's environment: "analyticsEvents.sqlite" in its data folder and the
        // user's caches folder.
        static Environment forInstallation(const lexi::ApplicationFolders &folders, lexi::Defaults &defaults);
    };

    // Entries for every event of the named collection, merged after the global dictionary's.
    using GlobalPropertiesBlock = std::function<QVariantMap(const QString &collection)>;
    using FinishedBlock = std::function<void()>;

    static constexpr quint64 maxEventsPerCollection = 10000;
    static constexpr quint64 numberEventsToForget = 100;
    static constexpr int maxAttempts = 3;

    explicit ANClient(Environment environment);
    ~ANClient();

    ANClient(const ANClient &) = delete;
    ANClient &operator=(const ANClient &) = delete;

    // Console messages of the analytics classes; off unless turned on.
    static void enableLogging();
    static void disableLogging();
    static bool isLoggingEnabled();

    // Geo-location: on until turned off. This platform has no location source, so no event gets
    // a location from the client either way.
    static void enableGeoLocation();
    static void disableGeoLocation();
    static bool isGeoLocationEnabled();

    static bool validateProjectId(const QString &projectId);
    static bool validateKey(const QString &key);

    // The installation the shared client works for; set once at start-up, before any other use.
    static void setSharedEnvironment(Environment environment);
    // Sets up the shared client (see initWithProjectId); nothing when that fails.
    static ANClient *sharedClientWithProjectId(const QString &projectId, const std::optional<QString> &writeKey,
                                               const std::optional<QString> &readKey);
    // The shared client once it has a project; nothing before (or without an environment).
    static ANClient *sharedClient();
    // Deletes every stored event of the shared client.
    static void clearAllEvents();
    static QString sdkVersion();

    // Sets the project and keys. Fails for an empty project (changing nothing), and for an empty
    // write or read key, after the project has been set; an absent key clears it. Creates the
    // event store on first success of the project check.
    bool initWithProjectId(const QString &projectId, const std::optional<QString> &writeKey,
                           const std::optional<QString> &readKey);

    QString projectId() const;
    QString writeKey() const;
    QString readKey() const;
    // Nothing before set-up.
    ANEventStore *eventStore() const;

    QVariantMap globalPropertiesDictionary() const;
    void setGlobalPropertiesDictionary(const QVariantMap &properties);
    GlobalPropertiesBlock globalPropertiesBlock() const;
    void setGlobalPropertiesBlock(GlobalPropertiesBlock block);

    // Checks the event and the collection name, merges the global properties (the dictionary's,
    // then the block's, then the event's own entries, a later one winning), sets "analytics" to
    // the time stamp (now, unless `analyticsProperties` are given) with the event's own
    // "analytics" entries over it, and stores the event's JSON. Ages out the oldest events first
    // when the store is full. False, with `error` filled when given, when the event is refused or
    // cannot be written as JSON; nothing is stored then. Throws ANNoWriteKeyProvided while there
    // is no write key.
    bool addEvent(const QVariantMap &event, const QString &collection, lexi::AnalyticsError *error = nullptr);
    bool addEvent(const QVariantMap &event, std::optional<ANProperties> analyticsProperties, const QString &collection,
                  lexi::AnalyticsError *error = nullptr);

    static bool validateEventCollection(const QString &collection, lexi::AnalyticsError *error);
    static bool validateEvent(const QVariantMap &event, int depth, lexi::AnalyticsError *error);
    // The event as compact JSON; dates become the store's ISO-8601 text. Fails for values that
    // are not JSON (bytes, non-finite numbers, other types) and dates that cannot be written.
    std::optional<QByteArray> serializeEventToJSON(const QVariantMap &event, lexi::AnalyticsError *error) const;
    std::optional<QString> convertDate(lexi::Date date) const;

    void refreshCurrentLocation() const;

    // Queues an upload on the upload queue and returns at once; `finished`, when given, then
    // runs on the main thread, whatever came of the upload.
    void uploadWithFinishedBlock(FinishedBlock finished = {});
    bool isNetworkConnected() const;

private:
    // Collection name to the ids of its events, in the order of the request body.
    using EventIds = QMap<QString, QList<quint64>>;
    struct PreparedUpload
    {
        QByteArray body;
        EventIds eventIds;
    };

    std::optional<QJsonValue> handleInvalidJSONInObject(const QVariant &value, QString &failure) const;
    static bool handleError(lexi::AnalyticsError *error, const QString &message,
                            std::shared_ptr<const lexi::AnalyticsError> underlyingError = {});

    void uploadHelper();
    std::optional<QString> serviceAddress() const;
    void importFileData(ANEventStore &store);
    QString analyticsDirectory() const;
    std::optional<PreparedUpload> prepareJSONData(ANEventStore &store) const;
    lexi::BoundedReply sendEvents(const QString &serviceAddress, const QByteArray &body) const;
    void handleAPIResponse(const lexi::BoundedReply &reply, const EventIds &eventIds, ANEventStore &store) const;

    const Environment m_environment;

    mutable std::mutex m_mutex;
    QString m_projectId;
    QString m_writeKey;
    QString m_readKey;
    QVariantMap m_globalPropertiesDictionary;
    GlobalPropertiesBlock m_globalPropertiesBlock;
    std::unique_ptr<ANEventStore> m_store;

    // Held for the whole of an upload.
    std::mutex m_uploadMutex;
    // Last, so that queued uploads finish before anything they use goes away.
    lexi::dispatch::SerialQueue m_uploadQueue;
};
