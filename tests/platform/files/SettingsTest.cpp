#include "platform/files/Settings.h"

#include "platform/files/Defaults.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace Qt::StringLiterals;
using lexi::Date;
using lexi::Defaults;
using lexi::SettingKey;
using lexi::Settings;

namespace {

std::function<bool(const Settings &)> flagReader(const SettingKey<bool> &key)
{
    return [&key](const Settings &settings) { return settings.value(key); };
}

std::function<void(Settings &, bool)> flagWriter(const SettingKey<bool> &key)
{
    return [&key](Settings &settings, bool value) { settings.setValue(key, value); };
}

template <typename T>
T defaultOf(const SettingKey<T> &key)
{
    return T(key.defaultValue);
}

// A value unlike the default that tests the stored form: beyond 32 bits, a fraction, text outside
// Latin-1.
template <typename T>
T sampleFor(const SettingKey<T> &key)
{
    if constexpr (std::is_same_v<T, bool>)
        return !key.defaultValue;
    else if constexpr (std::is_same_v<T, qint64>)
        return -7'000'000'000'123;
    else if constexpr (std::is_same_v<T, quint64>)
        return quint64(1) << 40;
    else if constexpr (std::is_same_v<T, double>)
        return 320.25;
    else if constexpr (std::is_same_v<T, QString>)
        return u"Fran\u00e7ais \u2013 \u65e5\u672c\u8a9e"_s;
    else
        return Date::fromSecondsSinceReferenceDate(789012345.5);
}

} // namespace

class SettingsTest : public testing::Test
{
protected:
    QTemporaryDir m_folder;
    Defaults m_defaults{m_folder.filePath(u"Lexicarta.conf"_s)};
    Settings m_settings{m_defaults};
};

// The stored key names are what earlier installations wrote: each key must be stored under exactly
// that name.
TEST_F(SettingsTest, EachFlagReadsAndWritesItsOwnStoredName)
{
    const struct
    {
        QString storedName;
        std::function<bool(const Settings &)> read;
        std::function<void(Settings &, bool)> write;
    } flags[] = {
        {u"enableDropbox"_s, flagReader(Settings::enableDropbox), flagWriter(Settings::enableDropbox)},
        {u"isShowCommentWithQuestion"_s, flagReader(Settings::showCommentWithQuestion),
         flagWriter(Settings::showCommentWithQuestion)},
        {u"didFSImport"_s, flagReader(Settings::didFSImport), flagWriter(Settings::didFSImport)},
        {u"askForForeignWord"_s, flagReader(Settings::askForForeignWord), flagWriter(Settings::askForForeignWord)},
        {u"askForYourWord"_s, flagReader(Settings::askForYourWord), flagWriter(Settings::askForYourWord)},
        {u"hasShownQuizHelpWrongAnswer"_s, flagReader(Settings::hasShownQuizHelpWrongAnswer),
         flagWriter(Settings::hasShownQuizHelpWrongAnswer)},
        {u"isSwitchKeyboardTagsToForeign"_s, flagReader(Settings::switchKeyboardTagsToForeign),
         flagWriter(Settings::switchKeyboardTagsToForeign)},
        {u"moveToApplicationsFolderAlertSuppress"_s, flagReader(Settings::moveToApplicationsFolderAlertSuppress),
         flagWriter(Settings::moveToApplicationsFolderAlertSuppress)},
        {u"French - English"_s, [](const Settings &s) { return s.isLanguageDeleted(u"French - English"_s); },
         [](Settings &s, bool deleted) { s.setLanguageDeleted(u"French - English"_s, deleted); }},
    };
    for (const auto &flag : flags) {
        EXPECT_FALSE(flag.read(m_settings)) << flag.storedName.toStdString();
        m_defaults.setBool(flag.storedName, true);
        EXPECT_TRUE(flag.read(m_settings)) << flag.storedName.toStdString();
        flag.write(m_settings, false);
        EXPECT_FALSE(m_defaults.boolForKey(flag.storedName)) << flag.storedName.toStdString();
        EXPECT_TRUE(m_defaults.objectForKey(flag.storedName).isValid()) << flag.storedName.toStdString();
    }
    EXPECT_FALSE(m_settings.isLanguageDeleted(u"German - English"_s));
}

TEST_F(SettingsTest, EachValueIsReadFromItsOwnStoredName)
{
    const struct
    {
        QString storedName;
        QVariant stored;
        std::function<QVariant(const Settings &)> read;
    } values[] = {
        {u"installation_uuid"_s, u"7D1C"_s, [](const Settings &s) { return s.value(Settings::installationUuid); }},
        {u"cloudFolderPath"_s, u"/cloud"_s, [](const Settings &s) { return s.value(Settings::cloudFolderPath); }},
        {u"quizletServiceAddress"_s, u"http://q/"_s,
         [](const Settings &s) { return s.value(Settings::quizletServiceAddress); }},
        {u"analyticsServiceAddress"_s, u"http://a/"_s,
         [](const Settings &s) { return s.value(Settings::analyticsServiceAddress); }},
        {u"QLXRateRatedVersionChecked"_s, u"2.1"_s,
         [](const Settings &s) { return s.value(Settings::rateRatedVersion); }},
        {u"backgroundColor"_s, 4, [](const Settings &s) { return QVariant(s.value(Settings::backgroundColor)); }},
        {u"QLXRateUseCount"_s, 12, [](const Settings &s) { return QVariant(s.value(Settings::rateUseCount)); }},
        {u"bgQuizWindowXOrigin"_s, 320.5,
         [](const Settings &s) { return QVariant(s.value(Settings::bgQuizWindowXOrigin)); }},
        {u"QLXRateFirstUsed"_s, 500000000.0, [](const Settings &s) {
             return QVariant(s.value(Settings::rateFirstUsed).value_or(Date()).secondsSinceReferenceDate());
         }},
    };
    for (const auto &value : values) {
        m_defaults.setObject(value.storedName, value.stored);
        EXPECT_EQ(value.read(m_settings).toString(), value.stored.toString()) << value.storedName.toStdString();
    }
}

// Every key of the table, whatever its type, reads its default on a fresh store and reads back what
// was written after the file is read again by another installation's store.
TEST(SettingsTableTest, EveryKeyReadsItsDefaultAndKeepsWhatIsWritten)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"Lexicarta.conf"_s);
    Defaults written(file);
    Settings writer(written);
    writer.registerDefaults();
    Settings::forEachKey([&](const auto &key) {
        EXPECT_EQ(writer.value(key), defaultOf(key)) << key.name.toString().toStdString();
        writer.setValue(key, sampleFor(key));
    });
    written.synchronize();

    Defaults reread(file);
    const Settings reader(reread);
    Settings::forEachKey([&](const auto &key) {
        EXPECT_EQ(reader.value(key), sampleFor(key)) << key.name.toString().toStdString();
    });
}

// The rating prompt's counts must survive a crash: a key written at once is in the file when the
// call returns.
TEST(SettingsTableTest, KeysWrittenAtOnceAreInTheFileWhenTheCallReturns)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"Lexicarta.conf"_s);
    Defaults defaults(file);
    Settings settings(defaults);
    const auto fileText = [&file] {
        QFile stored(file);
        return stored.open(QIODevice::ReadOnly) ? QString::fromUtf8(stored.readAll()) : QString();
    };
    int atOnce = 0;
    Settings::forEachKey([&](const auto &key) {
        if (key.write != lexi::SettingWrite::AtOnce)
            return;
        ++atOnce;
        settings.setValue(key, sampleFor(key));
        EXPECT_TRUE(fileText().contains(QString(key.name) + u'=')) << key.name.toString().toStdString();
        settings.remove(key);
        EXPECT_FALSE(fileText().contains(QString(key.name) + u'=')) << key.name.toString().toStdString();
    });
    EXPECT_GT(atOnce, 0);
}

// A key made from a name from outside (a language's display name, a file name behind a prefix)
// must never be one of the fixed keys, and no two fixed keys may share a stored name.
TEST(SettingsTableTest, StoredNamesAreUniqueAndApartFromKeysMadeFromNames)
{
    QSet<QString> names;
    Settings::forEachKey([&names](const auto &key) {
        const QString name = key.name;
        EXPECT_FALSE(names.contains(name)) << "stored twice: " << name.toStdString();
        names.insert(name);
        EXPECT_FALSE(name.isEmpty());
        EXPECT_FALSE(name.contains(u" - "_s)) << "could be a language's name: " << name.toStdString();
        EXPECT_FALSE(name.contains(u'/')) << "could be a file's key: " << name.toStdString();
    });
    EXPECT_EQ(qsizetype(names.size()), qsizetype(Settings::programKeys.size()));
}

TEST_F(SettingsTest, AnEmptyTextNoDateOrANegativeCountReadsAsNeverSet)
{
    m_settings.setValue(Settings::lastActiveLanguage, u"French - English"_s);
    m_settings.setValue(Settings::lastActiveLanguage, QString());
    EXPECT_FALSE(m_defaults.objectForKey(u"lastActiveLanguage"_s).isValid());
    m_settings.setValue(Settings::rateLastReminded, Date::fromSecondsSinceReferenceDate(1000));
    m_settings.setValue(Settings::rateLastReminded, std::nullopt);
    EXPECT_FALSE(m_defaults.objectForKey(u"QLXRateLastReminded"_s).isValid());
    m_defaults.setInteger(u"QLXRateEventCount"_s, -3);
    EXPECT_EQ(m_settings.value(Settings::rateEventCount), 0u);
    m_settings.setValue(Settings::rateEventCount, std::numeric_limits<quint64>::max());
    EXPECT_EQ(m_defaults.integerForKey(u"QLXRateEventCount"_s), std::numeric_limits<qint64>::max());
    m_defaults.setString(u"QLXRateFirstUsed"_s, u"yesterday"_s);
    EXPECT_FALSE(m_settings.value(Settings::rateFirstUsed));
}

// The pop-up window's place is taken only when both coordinates are real numbers above 0: the
// window parked out of sight on the older product had negative ones.
TEST_F(SettingsTest, ThePopupWindowOriginNeedsBothCoordinatesAboveZero)
{
    EXPECT_FALSE(m_settings.popupQuizWindowOrigin());
    m_settings.setPopupQuizWindowOrigin(QPointF(320.5, 40));
    EXPECT_EQ(m_defaults.doubleForKey(u"bgQuizWindowXOrigin"_s), 320.5);
    EXPECT_EQ(m_defaults.doubleForKey(u"bgQuizWindowYOrigin"_s), 40.0);
    EXPECT_EQ(m_settings.popupQuizWindowOrigin(), QPointF(320.5, 40));
    for (const QString &y : {u"0"_s, u"-100"_s, u"nan"_s, u"inf"_s, u"north"_s}) {
        m_defaults.setString(u"bgQuizWindowYOrigin"_s, y);
        EXPECT_FALSE(m_settings.popupQuizWindowOrigin()) << y.toStdString();
    }
}

TEST_F(SettingsTest, OnlyCrashOnExceptionsIsRegistered)
{
    EXPECT_EQ(Settings::registeredDefaults(), (QVariantMap{{u"NSApplicationCrashOnExceptions"_s, true}}));
    EXPECT_FALSE(m_settings.value(lexi::Settings::crashOnExceptions));
    m_settings.registerDefaults();
    EXPECT_TRUE(m_settings.value(lexi::Settings::crashOnExceptions));
    m_defaults.setBool(u"NSApplicationCrashOnExceptions"_s, false);
    EXPECT_FALSE(m_settings.value(lexi::Settings::crashOnExceptions));
}

// A name from outside (an information message's uuid) must never stand for one of the program's
// own settings.
TEST_F(SettingsTest, KnowsTheProgramsOwnKeys)
{
    for (const QString &key : {u"backgroundColor"_s, u"askForYourWord"_s, u"enableDropbox"_s, u"lastActiveLanguage"_s,
                               u"NSApplicationCrashOnExceptions"_s, u"NSAnythingElse"_s, u"infoMessageAddress"_s})
        EXPECT_TRUE(Settings::isProgramKey(key)) << key.toStdString();
    for (QLatin1StringView key : Settings::programKeys)
        EXPECT_TRUE(Settings::isProgramKey(key)) << key.toString().toStdString();
    for (const QString &key : {u"news-2"_s, u"backgroundcolor"_s, u"message.2026"_s})
        EXPECT_FALSE(Settings::isProgramKey(key)) << key.toStdString();
    m_settings.setInfoMessageDismissed(u"news-2"_s);
    EXPECT_TRUE(m_settings.isInfoMessageDismissed(u"news-2"_s));
    EXPECT_EQ(m_settings.value(lexi::Settings::backgroundColor), 0);
    m_settings.setValue(lexi::Settings::backgroundColor, 4);
    EXPECT_EQ(m_defaults.integerForKey(u"backgroundColor"_s), 4);
}
