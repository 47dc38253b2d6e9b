#include "platform/files/Defaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using lexi::Defaults;

TEST(DefaultsTest, MissingKeysReadNoZeroOrNothing)
{
    QTemporaryDir folder;
    Defaults defaults(folder.filePath(QStringLiteral("Lexicarta.conf")));
    EXPECT_FALSE(defaults.boolForKey(QStringLiteral("enableDropbox")));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("popupQuizInterval")), 0);
    EXPECT_EQ(defaults.doubleForKey(QStringLiteral("x")), 0.0);
    EXPECT_TRUE(defaults.stringForKey(QStringLiteral("lastActiveLanguage")).isNull());
    EXPECT_FALSE(defaults.objectForKey(QStringLiteral("lastActiveLanguage")).isValid());
}

TEST(DefaultsTest, RegisteredDefaultsGiveWayToStoredValues)
{
    QTemporaryDir folder;
    Defaults defaults(folder.filePath(QStringLiteral("Lexicarta.conf")));
    defaults.registerDefaults({{QStringLiteral("NSApplicationCrashOnExceptions"), true}});
    EXPECT_TRUE(defaults.boolForKey(QStringLiteral("NSApplicationCrashOnExceptions")));
    defaults.setBool(QStringLiteral("NSApplicationCrashOnExceptions"), false);
    EXPECT_FALSE(defaults.boolForKey(QStringLiteral("NSApplicationCrashOnExceptions")));
    defaults.removeObjectForKey(QStringLiteral("NSApplicationCrashOnExceptions"));
    EXPECT_TRUE(defaults.boolForKey(QStringLiteral("NSApplicationCrashOnExceptions")));
}

TEST(DefaultsTest, ValuesSurviveAReopen)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Lexicarta.conf"));
    {
        Defaults defaults(path);
        defaults.setBool(QStringLiteral("French - English"), true);
        defaults.setInteger(QStringLiteral("backgroundColor"), 3);
        defaults.setDouble(QStringLiteral("ratio"), 0.25);
        defaults.setString(QStringLiteral("lastActiveLanguage"), QStringLiteral("Deutsch - English"));
    }
    Defaults reopened(path);
    EXPECT_TRUE(reopened.boolForKey(QStringLiteral("French - English")));
    EXPECT_EQ(reopened.integerForKey(QStringLiteral("backgroundColor")), 3);
    EXPECT_EQ(reopened.doubleForKey(QStringLiteral("ratio")), 0.25);
    EXPECT_EQ(reopened.stringForKey(QStringLiteral("lastActiveLanguage")), QStringLiteral("Deutsch - English"));
}

TEST(DefaultsTest, StandardFileFollowsXdgConfigHome)
{
    qputenv("XDG_CONFIG_HOME", "/tmp/lexicarta-config-home");
    EXPECT_EQ(Defaults::standardFilePath(), QStringLiteral("/tmp/lexicarta-config-home/Lexicarta/Lexicarta.conf"));
}
