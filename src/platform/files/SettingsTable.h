// Every fixed user-defaults key Lexicarta reads or writes, one row each:
//
//     LEXICARTA_SETTING(identifier, "stored name", type, default, write)
//
// `type` is the value's type in the program: bool, qint64 (a whole number), quint64 (a count;
// stored negative numbers read 0), double, QString (none is the empty text) or std::optional<Date>
// (seconds since 2001). `default` is the value read while nothing is stored; one that is not NO, 0
// or none is registered with the store at start-up. `write` is Later (the store writes its file
// shortly after) or AtOnce (the file is written before the call returns).
//
// The stored names are what earlier installations wrote: never change one. A new setting goes into
// the section of the subsystem that owns it, with a comment saying what it means.
//
// Settings.h includes this table once for each list it makes from it, with LEXICARTA_SETTING
// defined; it has no include guard for that reason and is included nowhere else.

// ---- Application ---------------------------------------------------------------------------

// An uncaught exception ends the program rather than being logged.
LEXICARTA_SETTING(crashOnExceptions, "NSApplicationCrashOnExceptions", bool, true, Later)
// A layout debugging aid of the older product, switched off at every launch.
LEXICARTA_SETTING(visualizeMutuallyExclusiveConstraints, "NSConstraintBasedLayoutVisualizeMutuallyExclusiveConstraints",
                  bool, false, Later)
// This installation's identifier (a UUID in upper-case hexadecimal), made at the first start and
// never changed; every usage event carries it.
LEXICARTA_SETTING(installationUuid, "installation_uuid", QString, {}, Later)

// ---- Main window (shell/QLXMainWindowController) --------------------------------------------

// The display name of the vocabulary open last ("French - English").
LEXICARTA_SETTING(lastActiveLanguage, "lastActiveLanguage", QString, {}, Later)
// The help overlay over the vocabulary list was shown once.
LEXICARTA_SETTING(hasShownVocabularyHelp, "hasShownVocabularyHelp", bool, false, Later)

// ---- Cloud folder (platform/files/CloudFolder) ----------------------------------------------

// The absolute path of the linked cloud folder; none while no folder is linked.
LEXICARTA_SETTING(cloudFolderPath, "cloudFolderPath", QString, {}, Later)

// ---- Synchronisation (sync/DropBoxController) -----------------------------------------------

// Synchronisation with the cloud folder is switched on.
LEXICARTA_SETTING(enableDropbox, "enableDropbox", bool, false, Later)

// ---- Quiz (quiz/QLXQuizInterface) -----------------------------------------------------------

// A quiz shows the word's comment together with the question.
LEXICARTA_SETTING(showCommentWithQuestion, "isShowCommentWithQuestion", bool, false, Later)
// The direction of the quizzes, written by the set-up page. The learner types the foreign word,
// the own word, or, with both on, either; both off reads as the foreign word.
LEXICARTA_SETTING(askForForeignWord, "askForForeignWord", bool, false, Later)
LEXICARTA_SETTING(askForYourWord, "askForYourWord", bool, false, Later)
// The colour theme of the pages' background, 0 to 5 (views/QLXColorTheme).
LEXICARTA_SETTING(backgroundColor, "backgroundColor", qint64, 0, Later)
// The typing quiz's help bubbles were shown once (quiz/QLXTypingQuizController).
LEXICARTA_SETTING(hasShownQuizHelpQuestion, "hasShownQuizHelpQuestion", bool, false, Later)
LEXICARTA_SETTING(hasShownQuizHelpCorrectAnswer, "hasShownQuizHelpCorrectAnswer", bool, false, Later)
LEXICARTA_SETTING(hasShownQuizHelpMisspelledAnswer, "hasShownQuizHelpMisspelledAnswer", bool, false, Later)
LEXICARTA_SETTING(hasShownQuizHelpWrongAnswer, "hasShownQuizHelpWrongAnswer", bool, false, Later)
// The flash cards' flip-speed slider, 0 "off" to 3 "fast" (quiz/FlashCardSpeeds); read only once
// the learner set it (learnHasSetTimeout), else the slider starts at "normal".
LEXICARTA_SETTING(learnFlipLevel, "learnFlipLevel", qint64, 0, Later)
LEXICARTA_SETTING(learnHasSetTimeout, "learnHasSetTimeout", bool, false, Later)
// The learner told the set-up page's feedback panel they are unhappy.
LEXICARTA_SETTING(userWasUnhappy, "userWasUnhappy", bool, false, Later)
// Where the set-up page fetches the product's information message once per launch; none fetches
// nothing.
LEXICARTA_SETTING(infoMessageAddress, "infoMessageAddress", QString, {}, Later)

// ---- Pop-up quiz (quiz/PopupQuizRun, quiz/QLXPopupQuizController) ---------------------------

// The minutes between two questions of the pop-up quiz window, 1 to 100; the quiz asks every
// 5 minutes while nothing in that range is stored.
LEXICARTA_SETTING(popupQuizInterval, "popupQuizInterval", qint64, 0, Later)
// The top-left corner of the pop-up quiz window on the screen, in device-independent pixels, where
// the learner last moved it; taken only when both are above 0 (see popupQuizWindowOrigin()).
LEXICARTA_SETTING(bgQuizWindowXOrigin, "bgQuizWindowXOrigin", double, 0.0, Later)
LEXICARTA_SETTING(bgQuizWindowYOrigin, "bgQuizWindowYOrigin", double, 0.0, Later)

// ---- Word editing (editor/QLXWordPopoverController) -----------------------------------------

// The word popover's comment field types with the foreign language's keyboard layout (else with
// the learner's own).
LEXICARTA_SETTING(switchKeyboardCommentToForeign, "isSwitchKeyboardCommentToForeign", bool, false, Later)
// The same for the word popover's tags field.
LEXICARTA_SETTING(switchKeyboardTagsToForeign, "isSwitchKeyboardTagsToForeign", bool, false, Later)

// ---- Preferences (shell/QLXPreferencesController) -------------------------------------------

// The learner chose to send usage statistics, or not to (see isUsageStatisticsOptedIn()).
LEXICARTA_SETTING(enableUserStatistics, "isEnableUserStatistics", bool, false, Later)
LEXICARTA_SETTING(disableUserStatistics, "isDisableUserStatistics", bool, false, Later)

// ---- Flash-card service (flashcard-service/QuizletClient) -----------------------------------

// The service's base address; none means the production address.
LEXICARTA_SETTING(quizletServiceAddress, "quizletServiceAddress", QString, {}, Later)
// The service's web site, which the flash-card page's link opens; none means https://quizlet.com.
LEXICARTA_SETTING(quizletWebSiteAddress, "quizletWebSiteAddress", QString, {}, Later)

// ---- Usage statistics (analytics/ANClient) --------------------------------------------------

// The analytics service's base address; nothing is uploaded without one.
LEXICARTA_SETTING(analyticsServiceAddress, "analyticsServiceAddress", QString, {}, Later)
// Events kept as files by older versions were moved into the event store (tried once only).
LEXICARTA_SETTING(didFSImport, "didFSImport", bool, false, Later)

// ---- Rating prompt (shell/QLXRate) ----------------------------------------------------------
// Written at once: the counts must survive a crash.

// The program version the learner rated; none while not rated.
LEXICARTA_SETTING(rateRatedVersion, "QLXRateRatedVersionChecked", QString, {}, AtOnce)
// The program version the learner declined to rate.
LEXICARTA_SETTING(rateDeclinedVersion, "QLXRateDeclinedVersion", QString, {}, AtOnce)
// When the learner last asked to be reminded later.
LEXICARTA_SETTING(rateLastReminded, "QLXRateLastReminded", std::optional<Date>, std::nullopt, AtOnce)
// The version that counted the last launch; another one starts counting afresh.
LEXICARTA_SETTING(rateLastVersionUsed, "QLXRateLastVersionUsed", QString, {}, AtOnce)
// The first launch of this version.
LEXICARTA_SETTING(rateFirstUsed, "QLXRateFirstUsed", std::optional<Date>, std::nullopt, AtOnce)
// Launches of this version.
LEXICARTA_SETTING(rateUseCount, "QLXRateUseCount", quint64, 0, AtOnce)
// Significant events (quizzes finished) in this version.
LEXICARTA_SETTING(rateEventCount, "QLXRateEventCount", quint64, 0, AtOnce)
// The program's identifier in the store, once a lookup found it.
LEXICARTA_SETTING(rateAppStoreID, "QLXRateAppStoreID", quint64, 0, AtOnce)
// The base address of the store's lookup service; none means no lookup (the program is then simply
// not found).
LEXICARTA_SETTING(rateLookupAddress, "rateLookupAddress", QString, {}, Later)

// ---- Move offer (shell/MoveToApplications) --------------------------------------------------

// The learner asked never to be offered the move again.
LEXICARTA_SETTING(moveToApplicationsFolderAlertSuppress, "moveToApplicationsFolderAlertSuppress", bool, false,
                  AtOnce)
