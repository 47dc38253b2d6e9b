#include "analytics/AnalyticsTestSupport.h"

#include "shell/UsageStatisticsChoice.h"
#include "platform/files/Settings.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class UsageStatisticsChoiceTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(client.initWithProjectId(u"project"_s, u"writeKey"_s, u"readKey"_s)); }

    // The events stored for upload, oldest first, as compact JSON without the time stamp.
    QStringList statusEvents()
    {
        QStringList events;
        lexi::test::SqliteFile file(installation.databasePath());
        for (const QString &text : file.texts("SELECT eventData FROM events WHERE collection = 'statisticsStatus' ORDER BY id;")) {
            QJsonObject event = QJsonDocument::fromJson(text.toUtf8()).object();
            event.remove(u"analytics"_s);
            events.append(QString::fromUtf8(QJsonDocument(event).toJson(QJsonDocument::Compact)));
        }
        return events;
    }

    lexi::test::AnalyticsInstallation installation;
    ANClient client{installation.environment()};
    lexi::UsageStatisticsChoice choice{installation.defaults, &client};
};

TEST_F(UsageStatisticsChoiceTest, ANewInstallationIsNotOptedIn)
{
    EXPECT_FALSE(choice.isOptedIn());
    installation.defaults.setBool(lexi::Settings::enableUserStatistics.name, true);
    installation.defaults.setBool(lexi::Settings::disableUserStatistics.name, true);
    EXPECT_FALSE(choice.isOptedIn());
    installation.defaults.setBool(lexi::Settings::disableUserStatistics.name, false);
    EXPECT_TRUE(choice.isOptedIn());
}

TEST_F(UsageStatisticsChoiceTest, EveryChangeIsReportedTheSwitchingOffIncluded)
{
    choice.setSendStatistics(true);
    EXPECT_TRUE(choice.isOptedIn());
    choice.setSendStatistics(false);
    EXPECT_FALSE(choice.isOptedIn());
    EXPECT_TRUE(installation.defaults.boolForKey(lexi::Settings::disableUserStatistics.name));
    EXPECT_FALSE(installation.defaults.boolForKey(lexi::Settings::enableUserStatistics.name));

    EXPECT_EQ(statusEvents(), (QStringList{u"{\"enabledUsageData\":false}"_s, u"{\"disabledUsageData\":true}"_s}));
}

TEST_F(UsageStatisticsChoiceTest, WithoutAWriteKeyTheChoiceIsStillStored)
{
    ANClient withoutKey{installation.environment()};
    ASSERT_TRUE(withoutKey.initWithProjectId(u"project"_s, std::nullopt, std::nullopt));
    lexi::UsageStatisticsChoice unreported{installation.defaults, &withoutKey};
    unreported.setSendStatistics(true);
    EXPECT_TRUE(unreported.isOptedIn());
    EXPECT_EQ(statusEvents(), QStringList());
}

} // namespace
