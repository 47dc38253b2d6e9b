#pragma once

#include <QLatin1StringView>
#include <QPointF>
#include <QString>
#include <QVariantMap>

#include "platform/values/Date.h"

#include <array>
#include <optional>

namespace lexi {

class Defaults;

// Every user-defaults key Lexicarta reads or writes, declared here once with its type and the
// value it reads while nothing is stored under it, and read and written through typed accessors.
// A missing key reads NO, 0 or nothing unless it is registered (see registeredDefaults()).
//
// A new setting goes into the section of the subsystem that owns it: its key, a comment with its
// type and default, and its accessors; and its key into programKeys at the end. No other file
// spells a key.
//
// Settings is a light view over the store: make one where it is needed, on a Defaults that
// outlives it. Safe from any thread, as Defaults is.
class Settings
{
public:
    explicit Settings(Defaults &defaults) : m_defaults(defaults) {}

    // The values registered with the store at start-up.
    static QVariantMap registeredDefaults();
    void registerDefaults();

    // ---- Application -------------------------------------------------------------------------

    // bool, registered YES: an uncaught exception ends the program rather than being logged.
    static constexpr QLatin1StringView crashOnExceptionsKey{"NSApplicationCrashOnExceptions"};
    bool isCrashOnExceptions() const;

    // bool, NO: a layout debugging aid of the older product, switched off at every launch.
    static constexpr QLatin1StringView visualizeMutuallyExclusiveConstraintsKey{
        "NSConstraintBasedLayoutVisualizeMutuallyExclusiveConstraints"};
    void setVisualizeMutuallyExclusiveConstraints(bool visualize);

    // string, none: this installation's identifier (a UUID in upper-case hexadecimal), made at the
    // first start and never changed; every usage event carries it.
    static constexpr QLatin1StringView installationUuidKey{"installation_uuid"};
    QString installationUuid() const;
    void setInstallationUuid(const QString &uuid);

    // ---- Main window (shell/QLXMainWindowController) ------------------------------------------

    // string, none: the display name of the vocabulary open last ("French - English").
    static constexpr QLatin1StringView lastActiveLanguageKey{"lastActiveLanguage"};
    QString lastActiveLanguage() const;
    void setLastActiveLanguage(const QString &displayName);

    // bool, NO: the help overlay over the vocabulary list was shown once.
    static constexpr QLatin1StringView hasShownVocabularyHelpKey{"hasShownVocabularyHelp"};
    bool hasShownVocabularyHelp() const;
    void setHasShownVocabularyHelp(bool shown);

    // ---- Cloud folder (platform/files/CloudFolder) ---------------------------------------------

    // string, none: the absolute path of the linked cloud folder; none while no folder is linked.
    static constexpr QLatin1StringView cloudFolderPathKey{"cloudFolderPath"};
    QString cloudFolderPath() const;
    void setCloudFolderPath(const QString &path);
    void removeCloudFolderPath();

    // ---- Synchronisation (sync/DropBoxController) ---------------------------------------------

    // bool, NO: synchronisation with the cloud folder is switched on.
    static constexpr QLatin1StringView enableDropboxKey{"enableDropbox"};
    bool isEnableDropbox() const;
    void setEnableDropbox(bool enabled);

    // bool, NO, one key per language, the key being the language's display name ("French -
    // English"): the learner deleted that vocabulary here, so its cloud copy is not brought back.
    bool isLanguageDeleted(const QString &displayName) const;
    void setLanguageDeleted(const QString &displayName, bool deleted);

    // string, none, one key per vocabulary file, "cloudFileFingerprint/" + the file name
    // ("cloudFileFingerprint/French - English.qlxv"): the fingerprint of that file in the cloud
    // folder as this installation last downloaded or uploaded it; none before the first time.
    static constexpr QLatin1StringView cloudFileFingerprintKeyPrefix{"cloudFileFingerprint/"};
    QString cloudFileFingerprint(const QString &fileName) const;
    void setCloudFileFingerprint(const QString &fileName, const QString &fingerprint);
    void removeCloudFileFingerprint(const QString &fileName);
    // string, none, one key per vocabulary file, "cloudFileMark/" + the file name: the mark that
    // the synchronisation gave that version of the file in the cloud folder (see lexi::Lineage);
    // none when it has none, or before the first time.
    static constexpr QLatin1StringView cloudFileMarkKeyPrefix{"cloudFileMark/"};
    QString cloudFileMark(const QString &fileName) const;
    void setCloudFileMark(const QString &fileName, const QString &mark);
    void removeCloudFileMark(const QString &fileName);

    // ---- Quiz (quiz/QLXQuizInterface) ----------------------------------------------------------

    // bool, NO: a quiz shows the word's comment together with the question.
    static constexpr QLatin1StringView showCommentWithQuestionKey{"isShowCommentWithQuestion"};
    bool isShowCommentWithQuestion() const;
    void setShowCommentWithQuestion(bool show);

    // bool, NO, each: the direction of the quizzes, written by the set-up page. The learner types
    // the foreign word, the own word, or, with both on, either; both off reads as the foreign word.
    static constexpr QLatin1StringView askForForeignWordKey{"askForForeignWord"};
    static constexpr QLatin1StringView askForYourWordKey{"askForYourWord"};
    bool askForForeignWord() const;
    void setAskForForeignWord(bool ask);
    bool askForYourWord() const;
    void setAskForYourWord(bool ask);

    // integer, 0: the colour theme of the pages' background, 0 to 5 (views/QLXColorTheme).
    static constexpr QLatin1StringView backgroundColorKey{"backgroundColor"};
    qint64 backgroundColor() const;
    void setBackgroundColor(qint64 index);

    // bool, NO, each: the typing quiz's help bubble was shown once (quiz/QLXTypingQuizController).
    static constexpr QLatin1StringView hasShownQuizHelpQuestionKey{"hasShownQuizHelpQuestion"};
    static constexpr QLatin1StringView hasShownQuizHelpCorrectAnswerKey{"hasShownQuizHelpCorrectAnswer"};
    static constexpr QLatin1StringView hasShownQuizHelpMisspelledAnswerKey{"hasShownQuizHelpMisspelledAnswer"};
    static constexpr QLatin1StringView hasShownQuizHelpWrongAnswerKey{"hasShownQuizHelpWrongAnswer"};
    bool hasShownQuizHelp(QLatin1StringView key) const;
    void setHasShownQuizHelp(QLatin1StringView key, bool shown);

    // integer, 0: the flash cards' flip-speed slider, 0 "off" to 3 "fast" (quiz/FlashCardSpeeds);
    // read only once the learner set it (learnHasSetTimeout), else the slider starts at "normal".
    static constexpr QLatin1StringView learnFlipLevelKey{"learnFlipLevel"};
    static constexpr QLatin1StringView learnHasSetTimeoutKey{"learnHasSetTimeout"};
    qint64 learnFlipLevel() const;
    void setLearnFlipLevel(qint64 level);
    bool learnHasSetTimeout() const;
    void setLearnHasSetTimeout(bool set);

    // bool, NO: the learner told the set-up page's feedback panel they are unhappy.
    static constexpr QLatin1StringView userWasUnhappyKey{"userWasUnhappy"};
    void setUserWasUnhappy(bool unhappy);

    // string, none: where the set-up page fetches the product's information message once per
    // launch; none fetches nothing.
    static constexpr QLatin1StringView infoMessageAddressKey{"infoMessageAddress"};
    QString infoMessageAddress() const;
    void setInfoMessageAddress(const QString &address);

    // bool, NO, one key per information message, the key being the message's uuid: the learner
    // chose not to see it again. Only a plain identifier that is no key of the program names one
    // (quiz/InfoMessage).
    bool isInfoMessageDismissed(const QString &uuid) const;
    void setInfoMessageDismissed(const QString &uuid);

    // Whether `key` is one the program keeps a setting of its own under: one of programKeys, or
    // any key beginning with "NS" (reserved).
    static bool isProgramKey(const QString &key);

    // ---- Pop-up quiz (quiz/PopupQuizRun, quiz/QLXPopupQuizController) --------------------------

    // integer, 0: the minutes between two questions of the pop-up quiz window, 1 to 100; the quiz
    // asks every 5 minutes while nothing in that range is stored.
    static constexpr QLatin1StringView popupQuizIntervalKey{"popupQuizInterval"};
    qint64 popupQuizInterval() const;
    void setPopupQuizInterval(qint64 minutes);

    // float each, none: the top-left corner of the pop-up quiz window on the screen, in
    // device-independent pixels, where the learner last moved it; taken only when both are above 0.
    static constexpr QLatin1StringView bgQuizWindowXOriginKey{"bgQuizWindowXOrigin"};
    static constexpr QLatin1StringView bgQuizWindowYOriginKey{"bgQuizWindowYOrigin"};
    std::optional<QPointF> popupQuizWindowOrigin() const;
    void setPopupQuizWindowOrigin(QPointF origin);

    // ---- Word editing (editor/QLXWordPopoverController) ---------------------------------------

    // bool, NO: the word popover's comment field types with the foreign language's keyboard
    // layout (else with the learner's own).
    static constexpr QLatin1StringView switchKeyboardCommentToForeignKey{"isSwitchKeyboardCommentToForeign"};
    bool isSwitchKeyboardCommentToForeign() const;
    void setSwitchKeyboardCommentToForeign(bool foreign);

    // bool, NO: the same for the word popover's tags field.
    static constexpr QLatin1StringView switchKeyboardTagsToForeignKey{"isSwitchKeyboardTagsToForeign"};
    bool isSwitchKeyboardTagsToForeign() const;
    void setSwitchKeyboardTagsToForeign(bool foreign);

    // ---- Preferences (shell/QLXPreferencesController) ------------------------------------------

    // bool, NO each: the learner chose to send usage statistics, or not to. Opted in means
    // enabled and not disabled, so an installation where the learner never chose sends nothing.
    static constexpr QLatin1StringView enableUserStatisticsKey{"isEnableUserStatistics"};
    static constexpr QLatin1StringView disableUserStatisticsKey{"isDisableUserStatistics"};
    bool isUsageStatisticsOptedIn() const;
    // Sets both keys.
    void setSendUsageStatistics(bool send);

    // ---- Flash-card service (flashcard-service/QuizletClient) ---------------------------------

    // string, none: the service's base address; none means the production address.
    static constexpr QLatin1StringView quizletServiceAddressKey{"quizletServiceAddress"};
    QString quizletServiceAddress() const;
    void setQuizletServiceAddress(const QString &address);

    // string, none: the service's web site, which the flash-card page's link opens; none means
    // https://quizlet.com.
    static constexpr QLatin1StringView quizletWebSiteAddressKey{"quizletWebSiteAddress"};
    QString quizletWebSiteAddress() const;
    void setQuizletWebSiteAddress(const QString &address);

    // ---- Usage statistics (analytics/ANClient) -------------------------------------------------

    // string, none: the analytics service's base address; nothing is uploaded without one.
    static constexpr QLatin1StringView analyticsServiceAddressKey{"analyticsServiceAddress"};
    QString analyticsServiceAddress() const;
    void setAnalyticsServiceAddress(const QString &address);

    // bool, NO: events kept as files by older versions were moved into the event store (tried
    // once only).
    static constexpr QLatin1StringView didFSImportKey{"didFSImport"};
    bool didFSImport() const;
    void setDidFSImport(bool imported);

    // ---- Rating prompt (shell/QLXRate) ---------------------------------------------------------
    // Each write is synchronised at once: the counts must survive a crash.

    // string, none: the program version the learner rated; none while not rated.
    static constexpr QLatin1StringView rateRatedVersionKey{"QLXRateRatedVersionChecked"};
    QString rateRatedVersion() const;
    // An empty version removes the key.
    void setRateRatedVersion(const QString &version);

    // string, none: the program version the learner declined to rate.
    static constexpr QLatin1StringView rateDeclinedVersionKey{"QLXRateDeclinedVersion"};
    QString rateDeclinedVersion() const;
    void setRateDeclinedVersion(const QString &version);

    // date (seconds since 2001), none: when the learner last asked to be reminded later.
    static constexpr QLatin1StringView rateLastRemindedKey{"QLXRateLastReminded"};
    std::optional<Date> rateLastReminded() const;
    void setRateLastReminded(std::optional<Date> date);

    // string, none: the version that counted the last launch; another one starts counting afresh.
    static constexpr QLatin1StringView rateLastVersionUsedKey{"QLXRateLastVersionUsed"};
    QString rateLastVersionUsed() const;
    void setRateLastVersionUsed(const QString &version);

    // date (seconds since 2001), none: the first launch of this version.
    static constexpr QLatin1StringView rateFirstUsedKey{"QLXRateFirstUsed"};
    std::optional<Date> rateFirstUsed() const;
    void setRateFirstUsed(std::optional<Date> date);

    // integer, 0: launches of this version.
    static constexpr QLatin1StringView rateUseCountKey{"QLXRateUseCount"};
    quint64 rateUseCount() const;
    void setRateUseCount(quint64 count);

    // integer, 0: significant events (quizzes finished) in this version.
    static constexpr QLatin1StringView rateEventCountKey{"QLXRateEventCount"};
    quint64 rateEventCount() const;
    void setRateEventCount(quint64 count);

    // integer, 0: the program's identifier in the store, once a lookup found it.
    static constexpr QLatin1StringView rateAppStoreIDKey{"QLXRateAppStoreID"};
    quint64 rateAppStoreID() const;
    void setRateAppStoreID(quint64 identifier);

    // string, none: the base address of the store's lookup service; none means no lookup (the
    // program is then simply not found).
    static constexpr QLatin1StringView rateLookupAddressKey{"rateLookupAddress"};
    QString rateLookupAddress() const;
    void setRateLookupAddress(const QString &address);

    // ---- Move offer (shell/MoveToApplications) ------------------------------------------------

    // bool, NO: the learner asked never to be offered the move again.
    static constexpr QLatin1StringView moveToApplicationsFolderAlertSuppressKey{"moveToApplicationsFolderAlertSuppress"};
    bool isMoveToApplicationsFolderAlertSuppress() const;
    void setMoveToApplicationsFolderAlertSuppress(bool suppress);

    // ---- Every key above ------------------------------------------------------------------------

    // Every fixed key declared in this class: nothing from outside (an information message's
    // uuid) may be stored under one of them.
    static constexpr std::array programKeys{
        crashOnExceptionsKey,
        visualizeMutuallyExclusiveConstraintsKey,
        installationUuidKey,
        lastActiveLanguageKey,
        hasShownVocabularyHelpKey,
        cloudFolderPathKey,
        enableDropboxKey,
        showCommentWithQuestionKey,
        askForForeignWordKey,
        askForYourWordKey,
        backgroundColorKey,
        hasShownQuizHelpQuestionKey,
        hasShownQuizHelpCorrectAnswerKey,
        hasShownQuizHelpMisspelledAnswerKey,
        hasShownQuizHelpWrongAnswerKey,
        learnFlipLevelKey,
        learnHasSetTimeoutKey,
        userWasUnhappyKey,
        infoMessageAddressKey,
        popupQuizIntervalKey,
        bgQuizWindowXOriginKey,
        bgQuizWindowYOriginKey,
        switchKeyboardCommentToForeignKey,
        switchKeyboardTagsToForeignKey,
        enableUserStatisticsKey,
        disableUserStatisticsKey,
        quizletServiceAddressKey,
        quizletWebSiteAddressKey,
        analyticsServiceAddressKey,
        didFSImportKey,
        rateRatedVersionKey,
        rateDeclinedVersionKey,
        rateLastRemindedKey,
        rateLastVersionUsedKey,
        rateFirstUsedKey,
        rateUseCountKey,
        rateEventCountKey,
        rateAppStoreIDKey,
        rateLookupAddressKey,
        moveToApplicationsFolderAlertSuppressKey,
    };

private:
    Defaults &m_defaults;
};

} // namespace lexi
