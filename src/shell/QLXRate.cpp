#include "QLXRate.h"

#include "RatingPromptPresenter.h"
#include "platform/dispatch/Dispatch.h"
#include "platform/dispatch/Scheduler.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "platform/network/BoundedRequest.h"
#include "platform/ports/Clock.h"
#include "platform/ports/Console.h"
#include "platform/ports/Workspace.h"

#include <QHostAddress>
#include <QNetworkRequest>
#include <QPointer>

#include <chrono>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// The games genre of the store, whose learners are asked about "playing".
constexpr quint64 gamesGenreID = 6014;
constexpr auto lookupDeadline = 60s;
// A lookup reply is a few kilobytes; anything far beyond that is not one.
constexpr qint64 lookupReplyLimit = 1 << 20;
constexpr auto promptRetryDelay = 500ms;
constexpr auto storeWatchInterval = 500ms;
// The software centre is looked for this long after the page was opened, then no longer.
constexpr auto storeWatchPatience = 60s;
constexpr auto reopenDelay = 5s;

enum Button { RateButton = 0, CancelButton = 1 };

QString localizedString(const QString &key, const QString &fallback)
{
    const QString text = lexi::StringTables::text(key);
    return text == key ? fallback : text;
}

} // namespace

QLXRate::QLXRate(Application application, Services services, QObject *parent)
    : QObject(parent),
      m_application(std::move(application)),
      m_services(std::move(services)),
      m_appStoreCountry(lexi::appStoreCountry(m_application.countryCode))
{
}

quint64 QLXRate::appStoreID() const
{
    return m_appStoreID != 0 ? m_appStoreID : m_services.settings.value(lexi::Settings::rateAppStoreID);
}

lexi::RatingHistory QLXRate::history() const
{
    const lexi::Settings &settings = m_services.settings;
    return lexi::RatingHistory{m_application.version,
                               settings.value(lexi::Settings::rateRatedVersion),
                               settings.value(lexi::Settings::rateDeclinedVersion),
                               settings.value(lexi::Settings::rateFirstUsed),
                               settings.value(lexi::Settings::rateLastReminded),
                               settings.value(lexi::Settings::rateUseCount),
                               settings.value(lexi::Settings::rateEventCount)};
}

bool QLXRate::ratedThisVersion() const
{
    return m_services.settings.value(lexi::Settings::rateRatedVersion) == m_application.version;
}

bool QLXRate::declinedThisVersion() const
{
    return m_services.settings.value(lexi::Settings::rateDeclinedVersion) == m_application.version;
}

void QLXRate::setRatedThisVersion(bool rated)
{
    m_services.settings.setValue(lexi::Settings::rateRatedVersion, rated ? m_application.version : QString());
}

void QLXRate::setDeclinedThisVersion(bool declined)
{
    m_services.settings.setValue(lexi::Settings::rateDeclinedVersion, declined ? m_application.version : QString());
}

void QLXRate::setLastReminded(std::optional<lexi::Date> date)
{
    m_services.settings.setValue(lexi::Settings::rateLastReminded, date);
}

void QLXRate::incrementUseCount()
{
    lexi::Settings &settings = m_services.settings;
    settings.setValue(lexi::Settings::rateUseCount, settings.value(lexi::Settings::rateUseCount) + 1);
}

void QLXRate::incrementEventCount()
{
    lexi::Settings &settings = m_services.settings;
    settings.setValue(lexi::Settings::rateEventCount, settings.value(lexi::Settings::rateEventCount) + 1);
}

void QLXRate::applicationLaunched()
{
    lexi::Settings &settings = m_services.settings;
    if (settings.value(lexi::Settings::rateLastVersionUsed) != m_application.version) {
        settings.setValue(lexi::Settings::rateLastVersionUsed, m_application.version);
        settings.setValue(lexi::Settings::rateFirstUsed, m_services.clock.now());
        settings.setValue(lexi::Settings::rateUseCount, 0);
        settings.setValue(lexi::Settings::rateEventCount, 0);
        settings.setValue(lexi::Settings::rateLastReminded, std::nullopt);
        Q_EMIT didDetectAppUpdate();
    }
    incrementUseCount();
    checkForConnectivityInBackground();
    if (m_promptAtLaunch && shouldPromptForRating())
        promptIfNetworkAvailable();
}

void QLXRate::logEvent(bool deferPrompt)
{
    incrementEventCount();
    if (!deferPrompt && shouldPromptForRating())
        promptIfNetworkAvailable();
}

bool QLXRate::shouldPromptForRating() const
{
    const lexi::RatingDecision decision =
        lexi::decideRatingPrompt(m_policy, history(), m_services.clock.now());
    if (!decision.reason.isEmpty() && (decision.isAlwaysLogged || verboseLogging))
        lexi::Console::writeLine(decision.reason);
    return decision.shouldPrompt;
}

void QLXRate::promptIfNetworkAvailable()
{
    if (m_checkingForPrompt)
        return;
    m_checkingForPrompt = true;
    checkForConnectivityInBackground();
}

void QLXRate::checkForConnectivityInBackground()
{
    if (m_isLookupRunning)
        return;
    const lexi::StoreLookupQuery query{m_application.bundleId, m_application.version, appStoreID(),
                                       m_appStoreGenreID, onlyPromptIfLatestVersion, m_policy.previewMode};
    const QUrl base = lookupAddress();
    if (base.isEmpty() || !m_appStoreCountry) {
        // Without a lookup service there is nothing to ask about the latest version: the prompt
        // follows the thresholds alone.
        logVerbose(u"QLXRate has no store to ask; the thresholds alone decide"_s);
        connectionSucceeded();
        return;
    }

    QNetworkRequest request(lexi::storeLookupUrl(base, *m_appStoreCountry, query));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    logVerbose(u"QLXRate is checking %1 to retrieve the App Store details..."_s.arg(request.url().toString()));

    m_isLookupRunning = true;
    // The lookup names the program, nothing of the learner's: the store may send it on.
    lexi::getBounded(
        m_services.network, request, {lookupDeadline, lookupReplyLimit, lexi::RedirectPolicy::anyHost}, *this,
        [rate = QPointer<QLXRate>(this), query](const lexi::BoundedReply &reply) {
            // A reply that does not parse is scanned as text, which may take a while: not on the
            // main thread.
            lexi::dispatch::globalAsync([rate, query, reply] {
                const lexi::StoreLookupResult result = lexi::interpretStoreLookupReply(
                    query, reply.body ? reply.statusCode : 0, reply.body, reply.errorText);
                lexi::dispatch::mainAsync([rate, result] {
                    if (!rate)
                        return;
                    rate->m_isLookupRunning = false;
                    rate->finishLookup(result);
                });
            });
        });
}

QUrl QLXRate::lookupAddress() const
{
    const QUrl address(m_services.settings.value(lexi::Settings::rateLookupAddress), QUrl::StrictMode);
    if (!address.isValid() || address.isEmpty())
        return {};
    // What the store says decides whether the learner is asked: it comes over https, or from this
    // machine.
    const bool isLoopback = QHostAddress(address.host()).isLoopback() || address.host() == u"localhost"_s;
    if (address.scheme() == u"https"_s || (address.scheme() == u"http"_s && isLoopback))
        return address;
    lexi::Console::writeLine(u"QLXRate ignores the lookup address %1: only https addresses are asked"_s
                                 .arg(address.toString()));
    return {};
}

void QLXRate::finishLookup(const lexi::StoreLookupResult &result)
{
    for (const QString &line : result.verboseLines)
        logVerbose(line);
    if (result.foundGenreID)
        m_appStoreGenreID = *result.foundGenreID;
    if (result.foundAppStoreID) {
        m_appStoreID = *result.foundAppStoreID;
        m_services.settings.setValue(lexi::Settings::rateAppStoreID, m_appStoreID);
    }
    if (result.error) {
        connectionError(result.error);
    } else if (result.succeeded) {
        connectionSucceeded();
    } else {
        // Found nothing: a later prompt may ask again.
        m_checkingForPrompt = false;
    }
}

void QLXRate::connectionSucceeded()
{
    if (m_checkingForPrompt) {
        m_checkingForPrompt = false;
        promptForRating();
    }
}

void QLXRate::connectionError(const std::optional<lexi::StoreLookupError> &error)
{
    if (!m_checkingForPrompt)
        return;
    m_checkingForPrompt = false;
    lexi::Console::writeLine(error ? u"QLXRate rating process failed because: %1"_s.arg(error->description)
                                   : u"QLXRate rating process failed because an unknown error occured"_s);
    Q_EMIT couldNotConnectToAppStore(error.value_or(lexi::StoreLookupError{}));
}

QString QLXRate::messageTitle() const
{
    return localizedString(u"QLXRateMessageTitle"_s, u"Rate %@"_s).replace(u"%@"_s, m_application.name);
}

QString QLXRate::message() const
{
    const QString text = m_appStoreGenreID == gamesGenreID
                             ? localizedString(u"QLXRateGameMessage"_s,
                                               u"If you enjoy playing %@, would you mind taking a moment to rate it? "
                                               u"It won’t take more than a minute. Thanks for your support!"_s)
                             : localizedString(u"QLXRateAppMessage"_s,
                                               u"If you enjoy using %@, would you mind taking a moment to rate it? "
                                               u"It won’t take more than a minute. Thanks for your support!"_s);
    return QString(text).replace(u"%@"_s, m_application.name);
}

QString QLXRate::cancelButtonLabel() const
{
    return localizedString(u"QLXRateCancelButton"_s, u"No, Thanks"_s);
}

QString QLXRate::rateButtonLabel() const
{
    return localizedString(u"QLXRateRateButton"_s, u"Rate It Now"_s);
}

QString QLXRate::remindButtonLabel() const
{
    return localizedString(u"QLXRateRemindButton"_s, u"Remind Me Later"_s);
}

void QLXRate::promptForRating()
{
    if (m_hasVisibleAlert)
        return;
    if (onlyPromptIfMainWindowIsAvailable && !m_services.presenter.hasMainWindow()) {
        m_promptRetry = m_services.scheduler.after(promptRetryDelay, [this] { promptForRating(); });
        return;
    }
    lexi::Alert alert{messageTitle(), message(), {rateButtonLabel(), cancelButtonLabel()}, CancelButton};
    if (!remindButtonLabel().isEmpty())
        alert.buttons.append(remindButtonLabel());
    m_hasVisibleAlert = true;
    m_services.presenter.showPrompt(alert, [this](int button) { alertDidEnd(button); });
    Q_EMIT didPromptForRating();
}

void QLXRate::alertDidEnd(int button)
{
    m_hasVisibleAlert = false;
    switch (button) {
    case RateButton:
        setRatedThisVersion(true);
        Q_EMIT userDidAttemptToRateApp();
        openRatingsPageInAppStore();
        break;
    case CancelButton:
        setDeclinedThisVersion(true);
        Q_EMIT userDidDeclineToRateApp();
        break;
    default:
        setLastReminded(m_services.clock.now());
        Q_EMIT userDidRequestReminderToRateApp();
        break;
    }
}

void QLXRate::openRatingsPageInAppStore()
{
    if (m_application.ratingsURL.isEmpty()) {
        logVerbose(u"QLXRate could not find the App Store ID for this application. If the application is not "
                   u"intended for App Store release then you must specify a custom ratingsURL."_s);
        return;
    }
    const QUrl &page = m_application.ratingsURL;
    logVerbose(u"QLXRate will open the App Store ratings page using the following URL: %1"_s.arg(page.toString()));
    if (!m_services.workspace.openStorePage(page)) {
        lexi::Console::writeLine(u"QLXRate could not open the ratings page %1: no program handles it"_s
                                     .arg(page.toString()));
        m_services.presenter.showPrompt({localizedString(u"QLXRateNoStoreTitle"_s, u"No software centre found"_s),
                                         localizedString(u"QLXRateNoStoreMessage"_s,
                                                         u"Rating needs a software centre such as GNOME Software "
                                                         u"or KDE Discover. Install one to rate %@."_s)
                                             .replace(u"%@"_s, m_application.name),
                                         {localizedString(u"QLXRateOKButton"_s, u"OK"_s)},
                                         0},
                                        [](int) {});
        return;
    }
    const auto watchUntil = m_services.clock.monotonicNow() + storeWatchPatience;
    m_watch = m_services.scheduler.every(storeWatchInterval, [this, watchUntil] {
        if (m_services.clock.monotonicNow() >= watchUntil)
            m_watch.cancel();
        else
            openAppPageWhenAppStoreLaunched();
    });
    Q_EMIT didOpenAppStore();
}

void QLXRate::openAppPageWhenAppStoreLaunched()
{
    if (!m_services.isStoreApplicationRunning || !m_services.isStoreApplicationRunning())
        return;
    m_watch.cancel();
    m_reopen = m_services.scheduler.after(reopenDelay, [this] {
        m_services.workspace.openStorePage(m_application.ratingsURL);
    });
}

void QLXRate::logVerbose(const QString &line) const
{
    if (verboseLogging)
        lexi::Console::writeLine(line);
}
