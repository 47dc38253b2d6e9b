#include "AppDelegate.h"

#include "QLXMainWindowController.h"

#include "analytics/ANClient.h"
#include "platform/ports/Console.h"
#include "platform/files/Settings.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSysInfo>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

// The analytics project's keys.
const QString analyticsWriteKey = u"136cb94838da83a906263ec23d03dce95d736c644f3e0ef3ffbd50720ece384f9ec95ee991269d3e2ee05d82245d9e36f2d40c91b868a1086269e4a899df1741e338ecaab5ea3ed1b2adbeb198827c155f321d14a71864793e42e9c7b3784be7e91e362f4c8fbe1d07973cd474e5f28c"_s;
const QString analyticsReadKey = u"e207287f5c8ed0435d08fa7952903212e212cf9ba84311b53afb8e36158ca06f20f7555c526835fd62db6a460189de52c0e88eca3f4c41c6732b4fcb3f140f5afe4849a9fc9cc076b5604192bafbcdef22bb4694b8cfa5ab1de82e2af146b4ce8a57f05e6a890bd4a453e18b898842bb"_s;

} // namespace

AppDelegate::AppDelegate(const Collaborators &collaborators, QLXMainWindowController &mainWindowController)
    : m_collaborators(collaborators), m_mainWindowController(mainWindowController)
{
    m_collaborators.ratingPrompt.configure({.daysUntilPrompt = 5.0f,
                                            .usesUntilPrompt = 10,
                                            .eventsUntilPrompt = 10,
                                            .promptAtLaunch = false,
                                            .previewMode = false});
}

bool AppDelegate::applicationWillFinishLaunching()
{
    return m_collaborators.moveOffer.moveToApplicationsFolderIfNecessary();
}

void AppDelegate::applicationDidFinishLaunching()
{
    lexi::Settings settings(m_collaborators.defaults);
    settings.registerDefaults();
    settings.setValue(lexi::Settings::visualizeMutuallyExclusiveConstraints, false);
    m_collaborators.services.tidyBackups();
    m_collaborators.services.uploadSyncLog();
    m_collaborators.services.requestSynchronisation();

    m_analyticsClient = m_collaborators.services.setUpAnalytics(analyticsProjectId, analyticsWriteKey,
                                                                analyticsReadKey);
    QString installationUuid = settings.value(lexi::Settings::installationUuid);
    if (installationUuid.isEmpty()) {
        installationUuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        settings.setValue(lexi::Settings::installationUuid, installationUuid);
    }
    if (m_analyticsClient)
        m_analyticsClient->setGlobalPropertiesDictionary({{u"userUUID"_s, installationUuid}});
    collectAnalyticsData();
    m_mainWindowController.applicationDidFinishLaunching();
    lexi::Console::writeLine(u"didFinishLaunchingWithOptions: notification name %1"_s.arg(
        u"ApplicationDidFinishLaunchingNotification"_s));
}

void AppDelegate::collectAnalyticsData()
{
    if (!m_analyticsClient || !lexi::Settings(m_collaborators.defaults).isUsageStatisticsOptedIn())
        return;
    const QStringList languages = QLocale::system().uiLanguages();
    m_analyticsClient->addEvent({{u"QLXVersion"_s, QCoreApplication::applicationVersion()},
                                 {u"OS"_s, QSysInfo::prettyProductName()},
                                 {u"language"_s, languages.isEmpty() ? QString() : languages.first()}},
                                u"systemInfo"_s);
    m_analyticsClient->uploadWithFinishedBlock();
}

bool AppDelegate::applicationShouldHandleReopen()
{
    m_mainWindowController.updateViews();
    return true;
}

void AppDelegate::applicationWillTerminate()
{
    m_collaborators.services.flushSaves();
    m_collaborators.services.saveSyncLog();
}
