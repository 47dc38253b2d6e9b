#include "platform/files/Defaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::Defaults;

TEST(DefaultsTest, MissingKeysReadNoZeroOrNothing)
{
    QTemporaryDir folder;
    Defaults defaults(folder.filePath(u"Lexicarta.conf"_s));
    EXPECT_FALSE(defaults.boolForKey(u"enableDropbox"_s));
    EXPECT_EQ(defaults.integerForKey(u"popupQuizInterval"_s), 0);
    EXPECT_EQ(defaults.doubleForKey(u"x"_s), 0.0);
    EXPECT_TRUE(defaults.stringForKey(u"lastActiveLanguage"_s).isNull());
    EXPECT_FALSE(defaults.objectForKey(u"lastActiveLanguage"_s).isValid());
}

TEST(DefaultsTest, RegisteredDefaultsGiveWayToStoredValues)
{
    QTemporaryDir folder;
    Defaults defaults(folder.filePath(u"Lexicarta.conf"_s));
    defaults.registerDefaults({{u"NSApplicationCrashOnExceptions"_s, true}});
    EXPECT_TRUE(defaults.boolForKey(u"NSApplicationCrashOnExceptions"_s));
    defaults.setBool(u"NSApplicationCrashOnExceptions"_s, false);
    EXPECT_FALSE(defaults.boolForKey(u"NSApplicationCrashOnExceptions"_s));
    defaults.removeObjectForKey(u"NSApplicationCrashOnExceptions"_s);
    EXPECT_TRUE(defaults.boolForKey(u"NSApplicationCrashOnExceptions"_s));
}

TEST(DefaultsTest, ValuesSurviveAReopen)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"Lexicarta.conf"_s);
    {
        Defaults defaults(path);
        defaults.setBool(u"French - English"_s, true);
        defaults.setInteger(u"backgroundColor"_s, 3);
        defaults.setDouble(u"ratio"_s, 0.25);
        defaults.setString(u"lastActiveLanguage"_s, u"Deutsch - English"_s);
    }
    Defaults reopened(path);
    EXPECT_TRUE(reopened.boolForKey(u"French - English"_s));
    EXPECT_EQ(reopened.integerForKey(u"backgroundColor"_s), 3);
    EXPECT_EQ(reopened.doubleForKey(u"ratio"_s), 0.25);
    EXPECT_EQ(reopened.stringForKey(u"lastActiveLanguage"_s), u"Deutsch - English"_s);
}

TEST(DefaultsTest, StandardFileFollowsXdgConfigHome)
{
    qputenv("XDG_CONFIG_HOME", "/tmp/lexicarta-config-home");
    EXPECT_EQ(Defaults::standardFilePath(), u"/tmp/lexicarta-config-home/Lexicarta/Lexicarta.conf"_s);
}
