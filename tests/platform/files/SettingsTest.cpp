#include "platform/files/Settings.h"

#include "platform/files/Defaults.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using lexi::Defaults;
using lexi::Settings;

class SettingsTest : public testing::Test
{
protected:
    QTemporaryDir m_folder;
    Defaults m_defaults{m_folder.filePath(u"Lexicarta.conf"_s)};
    Settings m_settings{m_defaults};
};

// The stored key names are what earlier installations wrote: each accessor must use exactly its key.
TEST_F(SettingsTest, EachFlagReadsAndWritesItsOwnKey)
{
    const struct
    {
        QString key;
        std::function<bool(const Settings &)> read;
        std::function<void(Settings &, bool)> write;
    } flags[] = {
        {u"enableDropbox"_s, &Settings::isEnableDropbox, &Settings::setEnableDropbox},
        {u"isShowCommentWithQuestion"_s, &Settings::isShowCommentWithQuestion, &Settings::setShowCommentWithQuestion},
        {u"didFSImport"_s, &Settings::didFSImport, &Settings::setDidFSImport},
        {u"askForForeignWord"_s, &Settings::askForForeignWord, &Settings::setAskForForeignWord},
        {u"askForYourWord"_s, &Settings::askForYourWord, &Settings::setAskForYourWord},
        {u"hasShownQuizHelpWrongAnswer"_s,
         [](const Settings &s) { return s.hasShownQuizHelp(Settings::hasShownQuizHelpWrongAnswerKey); },
         [](Settings &s, bool shown) { s.setHasShownQuizHelp(Settings::hasShownQuizHelpWrongAnswerKey, shown); }},
        {u"French - English"_s, [](const Settings &s) { return s.isLanguageDeleted(u"French - English"_s); },
         [](Settings &s, bool deleted) { s.setLanguageDeleted(u"French - English"_s, deleted); }},
    };
    for (const auto &flag : flags) {
        EXPECT_FALSE(flag.read(m_settings)) << flag.key.toStdString();
        m_defaults.setBool(flag.key, true);
        EXPECT_TRUE(flag.read(m_settings)) << flag.key.toStdString();
        flag.write(m_settings, false);
        EXPECT_FALSE(m_defaults.boolForKey(flag.key)) << flag.key.toStdString();
        EXPECT_TRUE(m_defaults.objectForKey(flag.key).isValid()) << flag.key.toStdString();
    }
    EXPECT_FALSE(m_settings.isLanguageDeleted(u"German - English"_s));
}

TEST_F(SettingsTest, EachTextReadsAndWritesItsOwnKey)
{
    const struct
    {
        QString key;
        std::function<QString(const Settings &)> read;
        std::function<void(Settings &, const QString &)> write;
    } texts[] = {
        {u"cloudFolderPath"_s, &Settings::cloudFolderPath, &Settings::setCloudFolderPath},
        {u"quizletServiceAddress"_s, &Settings::quizletServiceAddress, &Settings::setQuizletServiceAddress},
        {u"quizletWebSiteAddress"_s, &Settings::quizletWebSiteAddress, &Settings::setQuizletWebSiteAddress},
        {u"analyticsServiceAddress"_s, &Settings::analyticsServiceAddress, &Settings::setAnalyticsServiceAddress},
    };
    for (const auto &text : texts) {
        EXPECT_TRUE(text.read(m_settings).isEmpty()) << text.key.toStdString();
        m_defaults.setString(text.key, u"stored"_s);
        EXPECT_EQ(text.read(m_settings), u"stored"_s);
        text.write(m_settings, u"written"_s);
        EXPECT_EQ(m_defaults.stringForKey(text.key), u"written"_s);
    }
    m_settings.removeCloudFolderPath();
    EXPECT_FALSE(m_defaults.objectForKey(u"cloudFolderPath"_s).isValid());
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
    EXPECT_FALSE(m_settings.isCrashOnExceptions());
    m_settings.registerDefaults();
    EXPECT_TRUE(m_settings.isCrashOnExceptions());
    m_defaults.setBool(u"NSApplicationCrashOnExceptions"_s, false);
    EXPECT_FALSE(m_settings.isCrashOnExceptions());
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
    EXPECT_EQ(m_settings.backgroundColor(), 0);
    m_settings.setBackgroundColor(4);
    EXPECT_EQ(m_defaults.integerForKey(u"backgroundColor"_s), 4);
}

// A key declared in the header but missing from programKeys could be overwritten by a downloaded
// message: the list must hold exactly the fixed keys the header declares, each once.
TEST(SettingsKeysTest, ProgramKeysListEveryDeclaredKey)
{
    QFile header(u"" LEXICARTA_SETTINGS_HEADER ""_s);
    ASSERT_TRUE(header.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString declarations = QString::fromUtf8(header.readAll());
    static const QRegularExpression keyDeclaration(
        uR"re(static constexpr QLatin1StringView (\w+Key)\s*\{\s*"([^"]*)"\s*\})re"_s);
    QSet<QString> declared;
    for (const QRegularExpressionMatch &match : keyDeclaration.globalMatch(declarations)) {
        EXPECT_FALSE(declared.contains(match.captured(2))) << match.captured(1).toStdString();
        declared.insert(match.captured(2));
    }

    QSet<QString> listed;
    for (QLatin1StringView key : Settings::programKeys) {
        EXPECT_FALSE(listed.contains(key)) << "listed twice: " << key.toString().toStdString();
        listed.insert(key.toString());
    }
    for (const QString &key : declared)
        EXPECT_TRUE(listed.contains(key)) << "missing from programKeys: " << key.toStdString();
    for (const QString &key : listed)
        EXPECT_TRUE(declared.contains(key)) << "not declared as a key: " << key.toStdString();
}
