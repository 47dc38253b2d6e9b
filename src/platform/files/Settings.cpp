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
        switchKeyboardCommentToForeignKey,
        switchKeyboardTagsToForeignKey,
    };
    // Keys the program's other parts keep settings under that are not declared above yet.
    static const QLatin1StringView reserved[] = {
        QLatin1StringView("lastActiveLanguage"),        QLatin1StringView("installation_uuid"),
        QLatin1StringView("hasShownVocabularyHelp"),    QLatin1StringView("popupQuizInterval"),
        QLatin1StringView("isDisableUserStatistics"),
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

} // namespace lexi
