#include "shell/QLXRate.h"

#include "shell/RatingPromptPresenter.h"
#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"
#include "support/FakeClock.h"
#include "support/LoopbackHttpServer.h"
#include "support/ManualScheduler.h"
#include "support/RecordingWorkspace.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

constexpr double day = 86400.0;

// Records the prompts and answers them when the test says.
class RecordingPromptPresenter final : public RatingPromptPresenter
{
public:
    bool hasMainWindow() const override { return mainWindowShown; }
    void showPrompt(const Alert &alert, std::function<void(int)> finished) override
    {
        prompts.append(alert);
        answer = std::move(finished);
    }

    bool mainWindowShown = true;
    QList<Alert> prompts;
    std::function<void(int)> answer;
};

const QByteArray ourRecord =
    R"({"results": [{"bundleId": "org.lexicarta.Lexicarta", "trackId": 4711, "version": "1.2"}]})";

class QLXRateTest : public ::testing::Test
{
protected:
    QLXRateTest()
    {
        settings.setValue(Settings::rateLookupAddress, server.url().toString());
        server.setDefaultResponse({200, {{"Content-Type", "application/json"}}, ourRecord});
    }

    // A rating object as the program configures it: five days, ten uses or ten events, no prompt
    // at launch.
    std::unique_ptr<QLXRate> makeRate(const QString &version = u"1.2"_s)
    {
        auto rate = std::make_unique<QLXRate>(
            QLXRate::Application{u"Lexicarta"_s, version, u"org.lexicarta.Lexicarta"_s,
                                 QUrl(u"appstream://org.lexicarta.Lexicarta.desktop"_s), u"DE"_s},
            QLXRate::Services{settings, clock, scheduler, workspace, presenter, network,
                              [this] { return storeRunning; }});
        RatingPolicy policy;
        policy.daysUntilPrompt = 5;
        rate->setPolicy(policy);
        rate->setPromptAtLaunch(false);
        return rate;
    }

    void waitForLookups(qsizetype count)
    {
        ASSERT_TRUE(server.waitForRequests(count));
    }

    QTemporaryDir folder;
    Defaults defaults{folder.filePath(u"settings.conf"_s)};
    Settings settings{defaults};
    test::FakeClock clock;
    test::ManualScheduler scheduler{clock};
    test::RecordingWorkspace workspace;
    RecordingPromptPresenter presenter;
    QNetworkAccessManager network;
    test::LoopbackHttpServer server;
    bool storeRunning = false;
};

TEST_F(QLXRateTest, FirstLaunchCountsAUseButNeverPrompts)
{
    auto rate = makeRate();
    rate->applicationLaunched();

    EXPECT_EQ(settings.value(Settings::rateFirstUsed), clock.now());
    EXPECT_EQ(settings.value(Settings::rateUseCount), 1u);
    EXPECT_EQ(settings.value(Settings::rateLastVersionUsed), u"1.2"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rate->isLookupRunning(); }, 10000));
    EXPECT_TRUE(presenter.prompts.isEmpty()) << "the lookup has answered, and no prompt came";
}

TEST_F(QLXRateTest, WithoutALookupServiceThePromptFollowsTheThresholdsAlone)
{
    settings.setValue(Settings::rateLookupAddress, QString());
    auto rate = makeRate();
    rate->applicationLaunched();
    clock.advance(std::chrono::seconds(qint64(5 * day + 1)));
    for (int event = 1; event < 10; ++event)
        rate->logEvent(false);
    EXPECT_TRUE(presenter.prompts.isEmpty());
    rate->logEvent(false);
    ASSERT_EQ(presenter.prompts.size(), 1) << "shown at once, with no store to ask";
    EXPECT_EQ(presenter.prompts.first().title, u"Rate Lexicarta"_s);
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(QLXRateTest, RateItNowWithoutASoftwareCentreSaysSo)
{
    workspace.hasSoftwareCentre = false;
    auto rate = makeRate();
    rate->openRatingsPageInAppStore();
    ASSERT_EQ(presenter.prompts.size(), 1);
    EXPECT_EQ(presenter.prompts.first().title, u"No software centre found"_s);
    EXPECT_EQ(presenter.prompts.first().buttons, QStringList{u"OK"_s});
    presenter.answer(0);
    workspace.hasSoftwareCentre = true;
    rate->openRatingsPageInAppStore();
    EXPECT_EQ(presenter.prompts.size(), 1) << "a software centre opened the page";
}

TEST_F(QLXRateTest, TheTenthEventAfterFiveDaysPromptsOnceTheLookupSucceeds)
{
    auto rate = makeRate();
    rate->applicationLaunched();
    clock.advance(std::chrono::seconds(qint64(5 * day + 1)));

    for (int event = 1; event < 10; ++event)
        rate->logEvent(false);
    EXPECT_FALSE(rate->isCheckingForPrompt());
    // The quizzes count their events through the rating prompt's interface, deferred.
    lexi::RatingPrompt &asTheQuizSeesIt = *rate;
    asTheQuizSeesIt.logEvent(true);
    EXPECT_FALSE(rate->isCheckingForPrompt()) << "a deferred event never prompts";

    rate->logEvent(false);
    EXPECT_TRUE(rate->isCheckingForPrompt());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !presenter.prompts.isEmpty(); }, 10000));
    EXPECT_EQ(presenter.prompts.first(),
              (Alert{u"Rate Lexicarta"_s,
                     u"If you enjoy using Lexicarta, would you mind taking a moment to rate it? It won’t take more "
                     u"than a minute. Thanks for your support!"_s,
                     {u"Rate It Now"_s, u"No, Thanks"_s, u"Remind Me Later"_s},
                     1}));
    EXPECT_EQ(settings.value(Settings::rateAppStoreID), 4711u);
    EXPECT_TRUE(server.requests().last().target.endsWith("/DE/lookup?id=4711")
                || server.requests().last().target.endsWith("/DE/lookup?bundleId=org.lexicarta.Lexicarta"));
}

TEST_F(QLXRateTest, ButtonsRecordTheLearnersAnswer)
{
    struct Case
    {
        int button;
        QString rated;
        QString declined;
        bool reminded;
        bool opensPage;
    };
    const Case cases[] = {
        {0, u"1.2"_s, {}, false, true},
        {1, {}, u"1.2"_s, false, false},
        {2, {}, {}, true, false},
    };
    for (const Case &c : cases) {
        defaults.removeObjectForKey(Settings::rateRatedVersion.name);
        defaults.removeObjectForKey(Settings::rateDeclinedVersion.name);
        defaults.removeObjectForKey(Settings::rateLastReminded.name);
        workspace.openedStorePages.clear();
        auto rate = makeRate();

        rate->promptForRating();
        ASSERT_TRUE(rate->hasVisibleAlert());
        rate->promptForRating();
        presenter.answer(c.button);

        EXPECT_FALSE(rate->hasVisibleAlert()) << c.button;
        EXPECT_EQ(settings.value(Settings::rateRatedVersion), c.rated) << c.button;
        EXPECT_EQ(settings.value(Settings::rateDeclinedVersion), c.declined) << c.button;
        EXPECT_EQ(settings.value(Settings::rateLastReminded).has_value(), c.reminded) << c.button;
        EXPECT_EQ(workspace.openedStorePages,
                  c.opensPage ? QList<QUrl>{QUrl(u"appstream://org.lexicarta.Lexicarta.desktop"_s)} : QList<QUrl>{})
            << c.button;
    }
    EXPECT_EQ(presenter.prompts.size(), 3) << "a second prompt while one shows is not shown";
}

TEST_F(QLXRateTest, ANewVersionResetsTheCountsButNotADecline)
{
    auto first = makeRate(u"1.2"_s);
    first->applicationLaunched();
    first->logEvent(true);
    first->setDeclinedThisVersion(true);
    clock.advance(std::chrono::seconds(qint64(10 * day)));

    auto updated = makeRate(u"1.3"_s);
    QSignalSpy updates(updated.get(), &QLXRate::didDetectAppUpdate);
    updated->applicationLaunched();

    EXPECT_EQ(updates.size(), 1);
    EXPECT_EQ(settings.value(Settings::rateFirstUsed), clock.now());
    EXPECT_EQ(settings.value(Settings::rateUseCount), 1u);
    EXPECT_EQ(settings.value(Settings::rateEventCount), 0u);
    EXPECT_EQ(settings.value(Settings::rateDeclinedVersion), u"1.2"_s);
    EXPECT_FALSE(updated->declinedThisVersion());
    EXPECT_FALSE(updated->shouldPromptForRating());
}

TEST_F(QLXRateTest, WaitsForTheMainWindow)
{
    auto rate = makeRate();
    presenter.mainWindowShown = false;
    rate->promptForRating();
    scheduler.advance(400ms);
    EXPECT_TRUE(presenter.prompts.isEmpty());

    presenter.mainWindowShown = true;
    scheduler.advance(200ms);
    EXPECT_EQ(presenter.prompts.size(), 1);
}

TEST_F(QLXRateTest, ALookupThatFindsNothingLetsALaterPromptAskAgain)
{
    server.setDefaultResponse({200, {}, R"({"resultCount": 0, "results": []})"});
    auto rate = makeRate();

    rate->promptIfNetworkAvailable();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rate->isCheckingForPrompt(); }, 10000));
    EXPECT_TRUE(presenter.prompts.isEmpty());

    rate->promptIfNetworkAvailable();
    waitForLookups(2);
}

// A reply that does not parse is scanned as text, here a value that never closes over a million
// commas: in one pass, and not on the main thread, which goes on meanwhile.
TEST_F(QLXRateTest, AReplyThatDoesNotParseIsScannedAtOnceBesideTheMainThread)
{
    server.setDefaultResponse({200, {}, R"({"results": [{"bundleId": "other)" + QByteArray(1'000'000, ',')});
    auto rate = makeRate();

    rate->promptIfNetworkAvailable();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rate->isCheckingForPrompt(); }, 10000));
    EXPECT_TRUE(presenter.prompts.isEmpty());
    EXPECT_EQ(settings.value(Settings::rateAppStoreID), 0u);
}

TEST_F(QLXRateTest, FailuresNeverReachTheLearner)
{
    struct Case
    {
        test::HttpResponse response;
        qint64 code;
    };
    const Case cases[] = {
        {{404, {}, "no"}, 404},
        {{200, {}, R"({"results": [{"bundleId": "org.lexicarta.Lexicarta", "trackId": 4711, "version": "1.10"}]})"}, 3},
        {{200, {}, R"({"results": [{"bundleId": "com.example.Other", "trackId": 4711}]})"}, 1},
    };
    for (const Case &c : cases) {
        server.setDefaultResponse(c.response);
        auto rate = makeRate(u"1.9"_s);
        QSignalSpy failures(rate.get(), &QLXRate::couldNotConnectToAppStore);
        rate->promptIfNetworkAvailable();
        ASSERT_TRUE(failures.wait(10000)) << c.code;
        EXPECT_EQ(failures.first().first().value<StoreLookupError>().code, c.code);
        EXPECT_FALSE(rate->isCheckingForPrompt());
        EXPECT_TRUE(presenter.prompts.isEmpty());
    }
}

TEST_F(QLXRateTest, PlainHttpGoesOnlyToThisMachine)
{
    settings.setValue(Settings::rateLookupAddress, u"http://lookup.example/"_s);
    auto rate = makeRate();
    rate->promptIfNetworkAvailable();
    EXPECT_FALSE(rate->isCheckingForPrompt());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(QLXRateTest, ReopensThePageWhenTheSoftwareCentreHasStartedAndGivesUpAfterAMinute)
{
    auto rate = makeRate();
    rate->openRatingsPageInAppStore();
    ASSERT_EQ(workspace.openedStorePages.size(), 1);

    scheduler.advance(61s);
    storeRunning = true;
    scheduler.advance(10s);
    EXPECT_EQ(workspace.openedStorePages.size(), 1) << "no watching after a minute";

    rate->openRatingsPageInAppStore();
    scheduler.advance(1s);
    scheduler.advance(5s);
    EXPECT_EQ(workspace.openedStorePages.size(), 3);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

} // namespace
} // namespace lexi
