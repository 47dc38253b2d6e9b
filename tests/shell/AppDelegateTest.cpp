#include "MainWindowTestSupport.h"

#include "shell/AppDelegate.h"
#include "shell/InstallationLaunchServices.h"
#include "platform/files/Settings.h"
#include "support/ConsoleCapture.h"

#include "analytics/ANEventStore.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace lexi::test {
namespace {

// Start-up's collaborators, each writing what it was asked into one log.
class RecordingCollaborators final : public LaunchServices, public RatingPromptSetup, public MoveToApplicationsOffer
{
public:
    explicit RecordingCollaborators(Installation &installation) : m_real(installation) {}

    void configure(const RatingPromptConfiguration &configuration) override
    {
        log.append(u"rating.configure %1 %2 %3 %4 %5"_s.arg(configuration.daysUntilPrompt)
                       .arg(configuration.usesUntilPrompt)
                       .arg(configuration.eventsUntilPrompt)
                       .arg(configuration.promptAtLaunch)
                       .arg(configuration.previewMode));
    }
    bool moveToApplicationsFolderIfNecessary() override
    {
        log.append(u"moveOffer"_s);
        return true;
    }
    void tidyBackups() override { log.append(u"tidyBackups"_s); }
    void uploadSyncLog() override { log.append(u"uploadSyncLog"_s); }
    void requestSynchronisation() override { log.append(u"requestSynchronisation"_s); }
    ANClient *setUpAnalytics(const QString &projectId, const QString &writeKey, const QString &readKey) override
    {
        log.append(u"setUpAnalytics %1"_s.arg(projectId));
        return m_real.setUpAnalytics(projectId, writeKey, readKey);
    }
    void flushSaves() override { log.append(u"flushSaves"_s); }
    void saveSyncLog() override { log.append(u"saveSyncLog"_s); }

    QStringList log;

private:
    InstallationLaunchServices m_real;
};

class AppDelegateTest : public ::testing::Test
{
protected:
    AppDelegate makeDelegate()
    {
        return AppDelegate({window.test.installation->defaults(), collaborators, collaborators, collaborators},
                           window.controller);
    }
    Defaults &defaults() { return window.test.installation->defaults(); }
    TestMainWindow window;
    RecordingCollaborators collaborators{*window.test.installation};
};

TEST_F(AppDelegateTest, StartUpRunsItsStepsInOrder)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    ConsoleCapture console;
    AppDelegate delegate = makeDelegate();
    window.controller.awakeFromNib();
    collaborators.log.append(u"awake"_s);
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();

    EXPECT_EQ(collaborators.log, (QStringList{u"rating.configure 5 10 10 0 0"_s, u"awake"_s, u"moveOffer"_s,
                                              u"tidyBackups"_s, u"uploadSyncLog"_s, u"requestSynchronisation"_s,
                                              u"setUpAnalytics 3f9a0c71e2d84b56a7c0e1d9"_s}));
    EXPECT_TRUE(defaults().boolForKey(Settings::crashOnExceptions.name));
    EXPECT_FALSE(defaults().boolForKey(Settings::visualizeMutuallyExclusiveConstraints.name));
    EXPECT_TRUE(defaults().objectForKey(Settings::visualizeMutuallyExclusiveConstraints.name).isValid());
    EXPECT_EQ(console.lines().last(),
              u"didFinishLaunchingWithOptions: notification name ApplicationDidFinishLaunchingNotification"_s);

    delegate.applicationWillTerminate();
    EXPECT_EQ(collaborators.log.mid(collaborators.log.size() - 2), (QStringList{u"flushSaves"_s, u"saveSyncLog"_s}));
    EXPECT_TRUE(delegate.applicationShouldTerminateAfterLastWindowClosed());
}

TEST_F(AppDelegateTest, TheInstallationIdentifierIsMadeOnceAndKept)
{
    makeDelegate().applicationDidFinishLaunching();
    const QString first = defaults().stringForKey(Settings::installationUuid.name);
    EXPECT_TRUE(QRegularExpression(u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s)
                    .match(first)
                    .hasMatch())
        << first.toStdString();
    EXPECT_EQ(window.test.installation->analyticsClient().globalPropertiesDictionary(),
              (QVariantMap{{u"userUUID"_s, first}}));

    makeDelegate().applicationDidFinishLaunching();
    EXPECT_EQ(defaults().stringForKey(Settings::installationUuid.name), first);
}

TEST_F(AppDelegateTest, StartUpEventsAreRecordedOnlyWhenTheLearnerOptedIn)
{
    const struct
    {
        bool enable;
        bool disable;
        bool recorded;
    } cases[] = {{false, false, false}, {true, false, true}, {false, true, false}, {true, true, false}};
    for (const auto &testCase : cases) {
        TestMainWindow window;
        window.test.saveVocabulary(u"French"_s, u"English"_s);
        RecordingCollaborators collaborators(*window.test.installation);
        Defaults &defaults = window.test.installation->defaults();
        defaults.setBool(Settings::enableUserStatistics.name, testCase.enable);
        defaults.setBool(Settings::disableUserStatistics.name, testCase.disable);
        window.controller.awakeFromNib();
        AppDelegate delegate({defaults, collaborators, collaborators, collaborators}, window.controller);
        delegate.applicationDidFinishLaunching();

        ANEventStore *store = window.test.installation->analyticsClient().eventStore();
        ASSERT_NE(store, nullptr);
        const auto events = store->getEventsWithMaxAttempts(ANClient::maxAttempts);
        const QString label = u"enable %1, disable %2"_s.arg(testCase.enable).arg(testCase.disable);
        EXPECT_EQ(events.value(u"systemInfo"_s).size(), testCase.recorded ? 1 : 0) << label.toStdString();
        EXPECT_EQ(events.value(u"languageInfo"_s).size(), testCase.recorded ? 1 : 0) << label.toStdString();
        if (testCase.recorded) {
            const QByteArray languageInfo = events.value(u"languageInfo"_s).first();
            EXPECT_TRUE(languageInfo.contains(R"("foreignLanguage":"French")")) << languageInfo.toStdString();
            EXPECT_TRUE(languageInfo.contains(R"("noOfWords":3)")) << languageInfo.toStdString();
            EXPECT_TRUE(languageInfo.contains(R"("userUUID")")) << languageInfo.toStdString();
        }
    }
}

} // namespace
} // namespace lexi::test
