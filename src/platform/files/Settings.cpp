#include "Settings.h"

#include "Defaults.h"

#include "platform/values/WholeNumbers.h"

#include <algorithm>
#include <cmath>

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

QString Settings::cloudFileMark(const QString &fileName) const
{
    return m_defaults.stringForKey(cloudFileMarkKeyPrefix + fileName);
}

void Settings::setCloudFileMark(const QString &fileName, const QString &mark)
{
    m_defaults.setString(cloudFileMarkKeyPrefix + fileName, mark);
}

void Settings::removeCloudFileMark(const QString &fileName)
{
    m_defaults.removeObjectForKey(cloudFileMarkKeyPrefix + fileName);
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

qint64 Settings::learnFlipLevel() const
{
    return m_defaults.integerForKey(learnFlipLevelKey);
}

void Settings::setLearnFlipLevel(qint64 level)
{
    m_defaults.setInteger(learnFlipLevelKey, level);
}

bool Settings::learnHasSetTimeout() const
{
    return m_defaults.boolForKey(learnHasSetTimeoutKey);
}

void Settings::setLearnHasSetTimeout(bool set)
{
    m_defaults.setBool(learnHasSetTimeoutKey, set);
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
    const auto matches = [&key](QLatin1StringView known) { return key == known; };
    return key.startsWith(u"NS") || std::any_of(programKeys.cbegin(), programKeys.cend(), matches);
}

qint64 Settings::popupQuizInterval() const
{
    return m_defaults.integerForKey(popupQuizIntervalKey);
}

void Settings::setPopupQuizInterval(qint64 minutes)
{
    m_defaults.setInteger(popupQuizIntervalKey, minutes);
}

std::optional<QPointF> Settings::popupQuizWindowOrigin() const
{
    const double x = m_defaults.doubleForKey(bgQuizWindowXOriginKey);
    const double y = m_defaults.doubleForKey(bgQuizWindowYOriginKey);
    // Not above 0 (NaN included) is no origin.
    if (!(x > 0 && y > 0) || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

void Settings::setPopupQuizWindowOrigin(QPointF origin)
{
    m_defaults.setDouble(bgQuizWindowXOriginKey, origin.x());
    m_defaults.setDouble(bgQuizWindowYOriginKey, origin.y());
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

bool Settings::isUsageStatisticsOptedIn() const
{
    return !m_defaults.boolForKey(disableUserStatisticsKey) && m_defaults.boolForKey(enableUserStatisticsKey);
}

void Settings::setSendUsageStatistics(bool send)
{
    m_defaults.setBool(disableUserStatisticsKey, !send);
    m_defaults.setBool(enableUserStatisticsKey, send);
}

QString Settings::quizletServiceAddress() const
{
    return m_defaults.stringForKey(quizletServiceAddressKey);
}

void Settings::setQuizletServiceAddress(const QString &address)
{
    m_defaults.setString(quizletServiceAddressKey, address);
}

QString Settings::quizletWebSiteAddress() const
{
    return m_defaults.stringForKey(quizletWebSiteAddressKey);
}

void Settings::setQuizletWebSiteAddress(const QString &address)
{
    m_defaults.setString(quizletWebSiteAddressKey, address);
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

namespace {

std::optional<Date> dateForKey(const Defaults &defaults, QLatin1StringView key)
{
    const QVariant value = defaults.objectForKey(key);
    bool ok = false;
    const Date date = Date::fromSecondsSinceReferenceDate(value.toDouble(&ok));
    return ok && date.isPlausible() ? std::optional(date) : std::nullopt;
}

void setDateForKey(Defaults &defaults, QLatin1StringView key, std::optional<Date> date)
{
    if (date)
        defaults.setDouble(key, date->secondsSinceReferenceDate());
    else
        defaults.removeObjectForKey(key);
    defaults.synchronize();
}

void setVersionForKey(Defaults &defaults, QLatin1StringView key, const QString &version)
{
    if (version.isEmpty())
        defaults.removeObjectForKey(key);
    else
        defaults.setString(key, version);
    defaults.synchronize();
}

quint64 countForKey(const Defaults &defaults, QLatin1StringView key)
{
    return quint64(std::max<qint64>(0, defaults.integerForKey(key)));
}

void setCountForKey(Defaults &defaults, QLatin1StringView key, quint64 count)
{
    defaults.setInteger(key, clampedToInt64(count));
    defaults.synchronize();
}

} // namespace

QString Settings::rateRatedVersion() const
{
    return m_defaults.stringForKey(rateRatedVersionKey);
}

void Settings::setRateRatedVersion(const QString &version)
{
    setVersionForKey(m_defaults, rateRatedVersionKey, version);
}

QString Settings::rateDeclinedVersion() const
{
    return m_defaults.stringForKey(rateDeclinedVersionKey);
}

void Settings::setRateDeclinedVersion(const QString &version)
{
    setVersionForKey(m_defaults, rateDeclinedVersionKey, version);
}

std::optional<Date> Settings::rateLastReminded() const
{
    return dateForKey(m_defaults, rateLastRemindedKey);
}

void Settings::setRateLastReminded(std::optional<Date> date)
{
    setDateForKey(m_defaults, rateLastRemindedKey, date);
}

QString Settings::rateLastVersionUsed() const
{
    return m_defaults.stringForKey(rateLastVersionUsedKey);
}

void Settings::setRateLastVersionUsed(const QString &version)
{
    setVersionForKey(m_defaults, rateLastVersionUsedKey, version);
}

std::optional<Date> Settings::rateFirstUsed() const
{
    return dateForKey(m_defaults, rateFirstUsedKey);
}

void Settings::setRateFirstUsed(std::optional<Date> date)
{
    setDateForKey(m_defaults, rateFirstUsedKey, date);
}

quint64 Settings::rateUseCount() const
{
    return countForKey(m_defaults, rateUseCountKey);
}

void Settings::setRateUseCount(quint64 count)
{
    setCountForKey(m_defaults, rateUseCountKey, count);
}

quint64 Settings::rateEventCount() const
{
    return countForKey(m_defaults, rateEventCountKey);
}

void Settings::setRateEventCount(quint64 count)
{
    setCountForKey(m_defaults, rateEventCountKey, count);
}

quint64 Settings::rateAppStoreID() const
{
    return countForKey(m_defaults, rateAppStoreIDKey);
}

void Settings::setRateAppStoreID(quint64 identifier)
{
    setCountForKey(m_defaults, rateAppStoreIDKey, identifier);
}

QString Settings::rateLookupAddress() const
{
    return m_defaults.stringForKey(rateLookupAddressKey);
}

void Settings::setRateLookupAddress(const QString &address)
{
    m_defaults.setString(rateLookupAddressKey, address);
}

bool Settings::isMoveToApplicationsFolderAlertSuppress() const
{
    return m_defaults.boolForKey(moveToApplicationsFolderAlertSuppressKey);
}

void Settings::setMoveToApplicationsFolderAlertSuppress(bool suppress)
{
    m_defaults.setBool(moveToApplicationsFolderAlertSuppressKey, suppress);
    m_defaults.synchronize();
}

} // namespace lexi
