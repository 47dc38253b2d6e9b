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

QString Settings::cloudFileFingerprint(const QString &fileName) const
{
    return m_defaults.stringForKey(cloudFileFingerprintKeyPrefix + fileName);
}

void Settings::setCloudFileFingerprint(const QString &fileName, const QString &fingerprint)
{
    m_defaults.setString(cloudFileFingerprintKeyPrefix + fileName, fingerprint);
}

void Settings::removeCloudFileFingerprint(const QString &fileName)
{
    m_defaults.removeObjectForKey(cloudFileFingerprintKeyPrefix + fileName);
}

bool Settings::isShowCommentWithQuestion() const
{
    return m_defaults.boolForKey(showCommentWithQuestionKey);
}

void Settings::setShowCommentWithQuestion(bool show)
{
    m_defaults.setBool(showCommentWithQuestionKey, show);
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
