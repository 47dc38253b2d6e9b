#include "Settings.h"

#include "Defaults.h"

#include <algorithm>

namespace lexi {

QVariantMap Settings::registeredDefaults()
{
    return {{crashOnExceptionsKey, true}};
}

void Settings::registerDefaults()
{
    m_defaults.registerDefaults(registeredDefaults());
}

bool Settings::isCrashOnExceptions() const
{
    return m_defaults.boolForKey(crashOnExceptionsKey);
}

void Settings::setVisualizeMutuallyExclusiveConstraints(bool visualize)
{
    m_defaults.setBool(visualizeMutuallyExclusiveConstraintsKey, visualize);
}

QString Settings::installationUuid() const
{
    return m_defaults.stringForKey(installationUuidKey);
}

void Settings::setInstallationUuid(const QString &uuid)
{
    m_defaults.setString(installationUuidKey, uuid);
}

QString Settings::lastActiveLanguage() const
{
    return m_defaults.stringForKey(lastActiveLanguageKey);
}

void Settings::setLastActiveLanguage(const QString &displayName)
{
    m_defaults.setString(lastActiveLanguageKey, displayName);
}

bool Settings::hasShownVocabularyHelp() const
{
    return m_defaults.boolForKey(hasShownVocabularyHelpKey);
}

void Settings::setHasShownVocabularyHelp(bool shown)
{
    m_defaults.setBool(hasShownVocabularyHelpKey, shown);
}

QString Settings::cloudFolderPath() const
{
    return m_defaults.stringForKey(cloudFolderPathKey);
}

void Settings::setCloudFolderPath(const QString &path)
{
    m_defaults.setString(cloudFolderPathKey, path);
}

void Settings::removeCloudFolderPath()
{
    m_defaults.removeObjectForKey(cloudFolderPathKey);
}

bool Settings::isEnableDropbox() const
{
    return m_defaults.boolForKey(enableDropboxKey);
}

void Settings::setEnableDropbox(bool enabled)
{
    m_defaults.setBool(enableDropboxKey, enabled);
}

bool Settings::isLanguageDeleted(const QString &displayName) const
{
    return m_defaults.boolForKey(displayName);
}

void Settings::setLanguageDeleted(const QString &displayName, bool deleted)
{
    m_defaults.setBool(displayName, deleted);
}

bool Settings::isShowCommentWithQuestion() const
{
    return m_defaults.boolForKey(showCommentWithQuestionKey);
}

void Settings::setShowCommentWithQuestion(bool show)
{
    m_defaults.setBool(showCommentWithQuestionKey, show);
}

bool Settings::askForForeignWord() const
{
    return m_defaults.boolForKey(askForForeignWordKey);
}

void Settings::setAskForForeignWord(bool ask)
{
    m_defaults.setBool(askForForeignWordKey, ask);
}

bool Settings::askForYourWord() const
{
    return m_defaults.boolForKey(askForYourWordKey);
}

void Settings::setAskForYourWord(bool ask)
{
    m_defaults.setBool(askForYourWordKey, ask);
}

qint64 Settings::backgroundColor() const
{
    return m_defaults.integerForKey(backgroundColorKey);
}

void Settings::setBackgroundColor(qint64 index)
{
    m_defaults.setInteger(backgroundColorKey, index);
}

bool Settings::hasShownQuizHelp(QLatin1StringView key) const
{
    return m_defaults.boolForKey(key);
}

void Settings::setHasShownQuizHelp(QLatin1StringView key, bool shown)
{
    m_defaults.setBool(key, shown);
}

void Settings::setUserWasUnhappy(bool unhappy)
{
    m_defaults.setBool(userWasUnhappyKey, unhappy);
}

QString Settings::infoMessageAddress() const
{
    return m_defaults.stringForKey(infoMessageAddressKey);
}

void Settings::setInfoMessageAddress(const QString &address)
{
    m_defaults.setString(infoMessageAddressKey, address);
}

bool Settings::isInfoMessageDismissed(const QString &uuid) const
{
    return m_defaults.boolForKey(uuid);
}

void Settings::setInfoMessageDismissed(const QString &uuid)
{
    m_defaults.setBool(uuid, true);
}

bool Settings::isProgramKey(const QString &key)
{
    static const QLatin1StringView keys[] = {
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
        userWasUnhappyKey,
        infoMessageAddressKey,
        quizletServiceAddressKey,
        analyticsServiceAddressKey,
        didFSImportKey,
        enableUserStatisticsKey,
        disableUserStatisticsKey,
        switchKeyboardCommentToForeignKey,
        switchKeyboardTagsToForeignKey,
    };
    // Keys the program's other parts keep settings under that are not declared above yet.
    static const QLatin1StringView reserved[] = {
        QLatin1StringView("popupQuizInterval"),
    };
    const auto matches = [&key](QLatin1StringView known) { return key == known; };
    return key.startsWith(u"NS") || std::any_of(std::cbegin(reserved), std::cend(reserved), matches)
        || std::any_of(std::cbegin(keys), std::cend(keys), matches);
}

bool Settings::isSwitchKeyboardCommentToForeign() const
{
    return m_defaults.boolForKey(switchKeyboardCommentToForeignKey);
}

void Settings::setSwitchKeyboardCommentToForeign(bool foreign)
{
    m_defaults.setBool(switchKeyboardCommentToForeignKey, foreign);
}

bool Settings::isSwitchKeyboardTagsToForeign() const
{
    return m_defaults.boolForKey(switchKeyboardTagsToForeignKey);
}

void Settings::setSwitchKeyboardTagsToForeign(bool foreign)
{
    m_defaults.setBool(switchKeyboardTagsToForeignKey, foreign);
}

QString Settings::quizletServiceAddress() const
{
    return m_defaults.stringForKey(quizletServiceAddressKey);
}

void Settings::setQuizletServiceAddress(const QString &address)
{
    m_defaults.setString(quizletServiceAddressKey, address);
}

QString Settings::analyticsServiceAddress() const
{
    return m_defaults.stringForKey(analyticsServiceAddressKey);
}

void Settings::setAnalyticsServiceAddress(const QString &address)
{
    m_defaults.setString(analyticsServiceAddressKey, address);
}

bool Settings::didFSImport() const
{
    return m_defaults.boolForKey(didFSImportKey);
}

void Settings::setDidFSImport(bool imported)
{
    m_defaults.setBool(didFSImportKey, imported);
}

bool Settings::isEnableUserStatistics() const
{
    return m_defaults.boolForKey(enableUserStatisticsKey);
}

void Settings::setEnableUserStatistics(bool enabled)
{
    m_defaults.setBool(enableUserStatisticsKey, enabled);
}

bool Settings::isDisableUserStatistics() const
{
    return m_defaults.boolForKey(disableUserStatisticsKey);
}

void Settings::setDisableUserStatistics(bool disabled)
{
    m_defaults.setBool(disableUserStatisticsKey, disabled);
}

bool Settings::isUsageDataOptedIn() const
{
    return !isDisableUserStatistics() && isEnableUserStatistics();
}

} // namespace lexi
