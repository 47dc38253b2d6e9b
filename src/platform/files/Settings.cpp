#include "Settings.h"

#include "Defaults.h"

#include "platform/values/WholeNumbers.h"

#include <algorithm>
#include <cmath>

namespace lexi {

namespace {

// The value a default is registered as, or nothing for NO, 0 and none, which the store reads
// without being told.
template <typename T>
QVariant registeredValue(const SettingKey<T> &key)
{
    if constexpr (std::is_same_v<T, QString>)
        return key.defaultValue.isEmpty() ? QVariant() : QVariant(QString(key.defaultValue));
    else if constexpr (std::is_same_v<T, std::optional<Date>>)
        return key.defaultValue ? QVariant(key.defaultValue->secondsSinceReferenceDate()) : QVariant();
    else
        return key.defaultValue == T{} ? QVariant() : QVariant::fromValue(key.defaultValue);
}

} // namespace

QVariantMap Settings::registeredDefaults()
{
    QVariantMap defaults;
    forEachKey([&defaults](const auto &key) {
        const QVariant value = registeredValue(key);
        if (value.isValid())
            defaults.insert(key.name, value);
    });
    return defaults;
}

void Settings::registerDefaults()
{
    m_defaults.registerDefaults(registeredDefaults());
}

bool Settings::value(const SettingKey<bool> &key) const
{
    return m_defaults.boolForKey(key.name);
}

qint64 Settings::value(const SettingKey<qint64> &key) const
{
    return m_defaults.integerForKey(key.name);
}

quint64 Settings::value(const SettingKey<quint64> &key) const
{
    return quint64(std::max<qint64>(0, m_defaults.integerForKey(key.name)));
}

double Settings::value(const SettingKey<double> &key) const
{
    return m_defaults.doubleForKey(key.name);
}

QString Settings::value(const SettingKey<QString> &key) const
{
    return m_defaults.stringForKey(key.name);
}

std::optional<Date> Settings::value(const SettingKey<std::optional<Date>> &key) const
{
    bool ok = false;
    const Date date = Date::fromSecondsSinceReferenceDate(m_defaults.objectForKey(key.name).toDouble(&ok));
    return ok && date.isPlausible() ? std::optional(date) : std::nullopt;
}

void Settings::setValue(const SettingKey<bool> &key, bool value)
{
    setKey(key.name, value, key.write);
}

void Settings::setValue(const SettingKey<qint64> &key, qint64 value)
{
    setKey(key.name, value, key.write);
}

void Settings::setValue(const SettingKey<quint64> &key, quint64 value)
{
    setKey(key.name, clampedToInt64(value), key.write);
}

void Settings::setValue(const SettingKey<double> &key, double value)
{
    setKey(key.name, value, key.write);
}

void Settings::setValue(const SettingKey<QString> &key, const QString &value)
{
    if (value.isEmpty())
        removeKey(key.name, key.write);
    else
        setKey(key.name, value, key.write);
}

void Settings::setValue(const SettingKey<std::optional<Date>> &key, std::optional<Date> value)
{
    if (value)
        setKey(key.name, value->secondsSinceReferenceDate(), key.write);
    else
        removeKey(key.name, key.write);
}

void Settings::setKey(QLatin1StringView name, const QVariant &value, SettingWrite write)
{
    m_defaults.setObject(name, value);
    if (write == SettingWrite::AtOnce)
        m_defaults.synchronize();
}

void Settings::removeKey(QLatin1StringView name, SettingWrite write)
{
    m_defaults.removeObjectForKey(name);
    if (write == SettingWrite::AtOnce)
        m_defaults.synchronize();
}

bool Settings::isProgramKey(const QString &key)
{
    const auto matches = [&key](QLatin1StringView known) { return key == known; };
    return key.startsWith(u"NS") || std::any_of(programKeys.cbegin(), programKeys.cend(), matches);
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

bool Settings::isInfoMessageDismissed(const QString &uuid) const
{
    return m_defaults.boolForKey(uuid);
}

void Settings::setInfoMessageDismissed(const QString &uuid)
{
    m_defaults.setBool(uuid, true);
}

std::optional<QPointF> Settings::popupQuizWindowOrigin() const
{
    const double x = value(bgQuizWindowXOrigin);
    const double y = value(bgQuizWindowYOrigin);
    // Not above 0 (NaN included) is no origin.
    if (!(x > 0 && y > 0) || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

void Settings::setPopupQuizWindowOrigin(QPointF origin)
{
    setValue(bgQuizWindowXOrigin, origin.x());
    setValue(bgQuizWindowYOrigin, origin.y());
}

bool Settings::isUsageStatisticsOptedIn() const
{
    return !value(disableUserStatistics) && value(enableUserStatistics);
}

void Settings::setSendUsageStatistics(bool send)
{
    setValue(disableUserStatistics, !send);
    setValue(enableUserStatistics, send);
}

} // namespace lexi
