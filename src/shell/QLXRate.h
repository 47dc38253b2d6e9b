#pragma once

#include "RatingDecision.h"
#include "StoreLookup.h"
#include "platform/dispatch/DelayedBlock.h"
#include "quiz/QuizServices.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;

namespace lexi {
class Clock;
class RatingPromptPresenter;
class Settings;
class Workspace;
namespace dispatch {
class Scheduler;
}
} // namespace lexi

// Asks the learner, after enough use, to rate the program, and opens its page in the desktop's
// software centre. Counts launches ("uses") and significant events, remembers per program
// version whether the learner rated or declined, and learns from an optional lookup service
// whether the installed version is the latest. Everything it remembers lives in the settings.
// Lives on the main thread. The quiz pages count their events through it as their RatingPrompt.
class QLXRate : public QObject, public lexi::RatingPrompt
{
    Q_OBJECT

public:
    struct Application
    {
        QString name;
        QString version;
        QString bundleId;
        // The page "Rate It Now" opens.
        QUrl ratingsURL;
        // The locale's country code, which chooses the store front.
        std::optional<QString> countryCode;
    };

    struct Services
    {
        lexi::Settings &settings;
        const lexi::Clock &clock;
        lexi::dispatch::Scheduler &scheduler;
        lexi::Workspace &workspace;
        lexi::RatingPromptPresenter &presenter;
        QNetworkAccessManager &network;
        // Whether the desktop's software centre runs, for re-opening the page once it does.
        std::function<bool()> isStoreApplicationRunning;
    };

    QLXRate(Application application, Services services, QObject *parent = nullptr);

    lexi::RatingPolicy policy() const { return m_policy; }
    void setPolicy(const lexi::RatingPolicy &policy) { m_policy = policy; }
    void setPromptAtLaunch(bool prompt) { m_promptAtLaunch = prompt; }

    // The store identifier: the one learnt in this run, else the stored one.
    quint64 appStoreID() const;
    quint64 appStoreGenreID() const { return m_appStoreGenreID; }

    lexi::RatingHistory history() const;
    bool ratedThisVersion() const;
    bool declinedThisVersion() const;
    void setRatedThisVersion(bool rated) override;
    void setDeclinedThisVersion(bool declined);
    void setLastReminded(std::optional<lexi::Date> date);
    void incrementUseCount();
    void incrementEventCount();

    // Counts this launch as a use (a new version starts counting afresh) and starts a lookup.
    void applicationLaunched();
    // Counts a significant event; unless deferred, prompts when the thresholds allow.
    void logEvent(bool deferPrompt) override;
    bool shouldPromptForRating() const;
    // Starts a lookup that prompts when it succeeds; nothing while a lookup for this is running.
    void promptIfNetworkAvailable();
    void promptForRating();
    void openRatingsPageInAppStore() override;

    bool isCheckingForPrompt() const { return m_checkingForPrompt; }
    // A store lookup is on its way.
    bool isLookupRunning() const { return m_isLookupRunning; }
    bool hasVisibleAlert() const { return m_hasVisibleAlert; }

Q_SIGNALS:
    void couldNotConnectToAppStore(const lexi::StoreLookupError &error);
    void didDetectAppUpdate();
    void didPromptForRating();
    void userDidAttemptToRateApp();
    void userDidDeclineToRateApp();
    void userDidRequestReminderToRateApp();
    void didOpenAppStore();

private:
    QString messageTitle() const;
    QString message() const;
    QString cancelButtonLabel() const;
    QString rateButtonLabel() const;
    QString remindButtonLabel() const;

    QUrl lookupAddress() const;
    void checkForConnectivityInBackground();
    void finishLookup(const lexi::StoreLookupResult &result);
    void connectionSucceeded();
    void connectionError(const std::optional<lexi::StoreLookupError> &error);
    void alertDidEnd(int button);
    void openAppPageWhenAppStoreLaunched();
    void logVerbose(const QString &line) const;

    Application m_application;
    Services m_services;
    std::optional<QString> m_appStoreCountry;
    lexi::RatingPolicy m_policy;
    bool m_promptAtLaunch = true;
    // The prompt waits for the latest version and for the main window; its lines of detail stay
    // unwritten.
    static constexpr bool onlyPromptIfLatestVersion = true;
    static constexpr bool onlyPromptIfMainWindowIsAvailable = true;
    static constexpr bool verboseLogging = false;

    quint64 m_appStoreID = 0;
    quint64 m_appStoreGenreID = 0;
    bool m_checkingForPrompt = false;
    bool m_hasVisibleAlert = false;
    bool m_isLookupRunning = false;
    lexi::dispatch::DelayedBlock m_promptRetry;
    lexi::dispatch::DelayedBlock m_watch;
    lexi::dispatch::DelayedBlock m_reopen;
};
