#include "ANClient.h"

#include "ANEventStore.h"
#include "AnalyticsLog.h"

#include "platform/files/ApplicationFolders.h"
#include "platform/values/NoDestructor.h"

#include <QDir>
#include <QStandardPaths>

#include <atomic>

using namespace Qt::StringLiterals;
using lexi::AnalyticsError;
using lexi::AnalyticsLog;

// The client's set-up, its class-wide switches and the shared client. Adding events is in
// ANClientEvents.cpp, uploading them in ANClientUpload.cpp.

namespace {

std::atomic<bool> geoLocationEnabled{true};

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

void ANClient::refreshCurrentLocation() const
{
    // There is no location source to start here.
    AnalyticsLog::write(isGeoLocationEnabled() ? u"Geo Location is enabled." : u"Geo Location is disabled.");
}
