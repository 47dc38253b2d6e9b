#pragma once

#include <QLatin1StringView>
#include <QPointF>
#include <QString>
#include <QVariantMap>

#include "platform/values/Date.h"

#include <array>
#include <optional>
#include <type_traits>

namespace lexi {

class Defaults;

// Whether a write reaches the settings file before the call returns, or shortly after.
enum class SettingWrite { Later, AtOnce };

// One key of the settings table: the name it is stored under, the value it reads while nothing is
// stored, and how a write reaches the file. `T` is the value's type in the program.
template <typename T>
struct SettingKey
{
    using Value = T;
    // Texts cannot be constants, so a text's default is a Latin-1 literal.
    using DefaultValue = std::conditional_t<std::is_same_v<T, QString>, QLatin1StringView, T>;

    QLatin1StringView name;
    DefaultValue defaultValue;
    SettingWrite write;
};

// Every user-defaults key Lexicarta reads or writes, with its type and default, comes from one
// table (SettingsTable.h); each is read with value() and written with setValue(). A missing key
// reads NO, 0 or nothing unless its default is registered (see registerDefaults()). Keys made from
// a name (one per language, file or message) and settings of two keys have accessors of their own
// below. No other file spells a key.
//
// Settings is a light view over the store: make one where it is needed, on a Defaults that
// outlives it. Safe from any thread, as Defaults is.
class Settings
{
public:
    explicit Settings(Defaults &defaults) : m_defaults(defaults) {}

#define LEXICARTA_SETTING(identifier, storedName, type, defaultValue, write)                                          \
    static constexpr SettingKey<type> identifier{QLatin1StringView(storedName), defaultValue, SettingWrite::write};
#include "SettingsTable.h"
#undef LEXICARTA_SETTING

    // Every fixed key of the table: nothing from outside (an information message's uuid) may be
    // stored under one of them.
    static constexpr std::array programKeys{
#define LEXICARTA_SETTING(identifier, storedName, type, defaultValue, write) identifier.name,
#include "SettingsTable.h"
#undef LEXICARTA_SETTING
    };

    // Calls `visit` with every key of the table, in the table's order.
    template <typename Visit>
    static void forEachKey(Visit &&visit)
    {
#define LEXICARTA_SETTING(identifier, storedName, type, defaultValue, write) visit(identifier);
#include "SettingsTable.h"
#undef LEXICARTA_SETTING
    }

    // The defaults that are not NO, 0 or none, which the store must know to read them.
    static QVariantMap registeredDefaults();
    void registerDefaults();

    bool value(const SettingKey<bool> &key) const;
    qint64 value(const SettingKey<qint64> &key) const;
    quint64 value(const SettingKey<quint64> &key) const;
    double value(const SettingKey<double> &key) const;
    QString value(const SettingKey<QString> &key) const;
    std::optional<Date> value(const SettingKey<std::optional<Date>> &key) const;

    // An empty text and no date remove the key, so that it reads as never set. A count is stored
    // held to the signed 64-bit range.
    void setValue(const SettingKey<bool> &key, bool value);
    void setValue(const SettingKey<qint64> &key, qint64 value);
    void setValue(const SettingKey<quint64> &key, quint64 value);
    void setValue(const SettingKey<double> &key, double value);
    void setValue(const SettingKey<QString> &key, const QString &value);
    void setValue(const SettingKey<std::optional<Date>> &key, std::optional<Date> value);

    template <typename T>
    void remove(const SettingKey<T> &key)
    {
        removeKey(key.name, key.write);
    }

    // Whether `key` is one the program keeps a setting of its own under: one of programKeys, or
    // any key beginning with "NS" (reserved).
    static bool isProgramKey(const QString &key);

    // ---- Keys made from a name -----------------------------------------------------------------

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

    // bool, NO, one key per information message, the key being the message's uuid: the learner
    // chose not to see it again. Only a plain identifier that is no key of the program names one
    // (quiz/InfoMessage).
    bool isInfoMessageDismissed(const QString &uuid) const;
    void setInfoMessageDismissed(const QString &uuid);

    // ---- Settings of two keys ------------------------------------------------------------------

    // The pop-up quiz window's place from bgQuizWindowXOrigin and bgQuizWindowYOrigin; none unless
    // both are real numbers above 0 (the older product parked the window out of sight with
    // negative ones).
    std::optional<QPointF> popupQuizWindowOrigin() const;
    void setPopupQuizWindowOrigin(QPointF origin);

    // Opted in means enableUserStatistics and not disableUserStatistics, so an installation where
    // the learner never chose sends nothing.
    bool isUsageStatisticsOptedIn() const;
    // Sets both keys.
    void setSendUsageStatistics(bool send);

private:
    void setKey(QLatin1StringView name, const QVariant &value, SettingWrite write);
    void removeKey(QLatin1StringView name, SettingWrite write);

    Defaults &m_defaults;
};

} // namespace lexi
