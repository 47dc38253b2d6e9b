#include "Settings.h"

#include "Defaults.h"

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
