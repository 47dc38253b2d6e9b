#include "Defaults.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace lexi {

Defaults::Defaults(const QString &filePath) : m_settings(filePath, QSettings::IniFormat) {}

QString Defaults::standardFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(u"Lexicarta/Lexicarta.conf"_s);
}

void Defaults::registerDefaults(const QVariantMap &defaults)
{
    std::lock_guard lock(m_mutex);
    m_registered.insert(defaults);
}

QVariant Defaults::objectForKey(const QString &key) const
{
    std::lock_guard lock(m_mutex);
    QVariant value = m_settings.value(key);
    return value.isValid() ? value : m_registered.value(key);
}

bool Defaults::boolForKey(const QString &key) const
{
    return objectForKey(key).toBool();
}

qint64 Defaults::integerForKey(const QString &key) const
{
    // Stored numbers come back as text from the INI file; text that is not a number reads 0.
    const QVariant value = objectForKey(key);
    bool isNumber = false;
    const qint64 integer = value.toLongLong(&isNumber);
    if (isNumber)
        return integer;
    const double real = value.toDouble(&isNumber);
    return isNumber && real > -9.2e18 && real < 9.2e18 ? qint64(real) : 0;
}

double Defaults::doubleForKey(const QString &key) const
{
    return objectForKey(key).toDouble();
}

QString Defaults::stringForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    return value.canConvert<QString>() ? value.toString() : QString();
}

void Defaults::setObject(const QString &key, const QVariant &value)
{
    std::lock_guard lock(m_mutex);
    m_settings.setValue(key, value);
}

void Defaults::removeObjectForKey(const QString &key)
{
    std::lock_guard lock(m_mutex);
    m_settings.remove(key);
}

void Defaults::synchronize()
{
    std::lock_guard lock(m_mutex);
    m_settings.sync();
}

QString Defaults::filePath() const
{
    std::lock_guard lock(m_mutex);
    return m_settings.fileName();
}

} // namespace lexi
