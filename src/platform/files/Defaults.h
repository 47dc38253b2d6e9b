#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <mutex>

namespace lexi {

// The per-user settings store. Values live in an INI file; a key that was never written reads its
// registered default, else NO, 0 or nothing. Safe from any thread.
class Defaults
{
public:
    explicit Defaults(const QString &filePath);

    // $XDG_CONFIG_HOME/Lexicarta/Lexicarta.conf (XDG_CONFIG_HOME defaults to ~/.config).
    static QString standardFilePath();

    // Values that keys read while nothing is stored under them; kept in memory only.
    void registerDefaults(const QVariantMap &defaults);

    QVariant objectForKey(const QString &key) const;
    bool boolForKey(const QString &key) const;
    qint64 integerForKey(const QString &key) const;
    double doubleForKey(const QString &key) const;
    QString stringForKey(const QString &key) const;

    void setObject(const QString &key, const QVariant &value);
    void setBool(const QString &key, bool value) { setObject(key, value); }
    void setInteger(const QString &key, qint64 value) { setObject(key, value); }
    void setDouble(const QString &key, double value) { setObject(key, value); }
    void setString(const QString &key, const QString &value) { setObject(key, value); }
    void removeObjectForKey(const QString &key);

    // Writes pending changes to the file; also happens on its own shortly after a change.
    void synchronize();

    QString filePath() const;

private:
    mutable std::mutex m_mutex;
    QSettings m_settings;
    QVariantMap m_registered;
};

} // namespace lexi
