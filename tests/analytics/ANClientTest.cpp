#include "AnalyticsTestSupport.h"

#include "analytics/ANEventStore.h"
#include "analytics/ANNoWriteKeyProvided.h"
#include "support/ConsoleCapture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using lexi::AnalyticsError;
using lexi::test::AnalyticsInstallation;
using lexi::test::SqliteFile;

namespace {

const QString clockTimestamp = u"2020-01-06T10:40:00+00:00"_s;

class ANClientTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(client.initWithProjectId(u"project"_s, u"writeKey"_s, u"readKey"_s)); }

    // The stored events, oldest first.
    QList<QJsonObject> storedEvents()
    {
        QList<QJsonObject> events;
        SqliteFile file(installation.databasePath());
        for (const QString &text : file.texts("SELECT eventData FROM events ORDER BY id;"))
            events.append(QJsonDocument::fromJson(text.toUtf8()).object());
        return events;
    }

    AnalyticsInstallation installation;
    ANClient client{installation.environment()};
};

TEST_F(ANClientTest, SetUpNeedsAProjectAndNoEmptyKey)
{
    struct Case
    {
        const char16_t *projectId;
        std::optional<QString> writeKey;
        std::optional<QString> readKey;
        bool succeeds;
        const char16_t *projectAfter;
        const char16_t *writeKeyAfter;
        const char16_t *readKeyAfter;
    };
    const Case cases[] = {
        {u"", u"w"_s, u"r"_s, false, u"", u"", u""},
        {u"p", u""_s, u"r"_s, false, u"p", u"", u""},
        {u"p", u"w"_s, u""_s, false, u"p", u"w", u""},
        {u"p", u"w"_s, u"r"_s, true, u"p", u"w", u"r"},
        {u"p", std::nullopt, std::nullopt, true, u"p", u"", u""},
    };
    for (const Case &test : cases) {
        ANClient fresh(installation.environment());
        EXPECT_EQ(fresh.initWithProjectId(QString::fromUtf16(test.projectId), test.writeKey, test.readKey),
                  test.succeeds);
        EXPECT_EQ(fresh.projectId(), QString::fromUtf16(test.projectAfter));
        EXPECT_EQ(fresh.writeKey(), QString::fromUtf16(test.writeKeyAfter));
        EXPECT_EQ(fresh.readKey(), QString::fromUtf16(test.readKeyAfter));
        ASSERT_EQ(fresh.eventStore() != nullptr, !fresh.projectId().isEmpty());
        if (fresh.eventStore()) {
            EXPECT_EQ(fresh.eventStore()->projectId(), fresh.projectId());
        }
    }
}

TEST_F(ANClientTest, TheSharedClientExistsOnceItHasAProject)
{
    ANClient::setSharedEnvironment(installation.environment());
    EXPECT_EQ(ANClient::sharedClient(), nullptr);
    EXPECT_EQ(ANClient::sharedClientWithProjectId(u"p"_s, u""_s, u"r"_s), nullptr);
    ANClient *shared = ANClient::sharedClient();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->eventStore()->projectId(), u"p"_s);
    EXPECT_EQ(ANClient::sharedClientWithProjectId(u"q"_s, u"w"_s, u"r"_s), shared);
    EXPECT_EQ(shared->writeKey(), u"w"_s);
}

TEST_F(ANClientTest, ChecksTheCollectionName)
{
    const QString emoji = u"\U0001F600"_s;
    const std::pair<QString, QString> cases[] = {
        {QString(64, u'c'), {}},
        {emoji.repeated(32), {}},
        {QString(65, u'c'), u"An event collection name cannot be longer than 64 characters."_s},
        {emoji.repeated(32) + u'c', u"An event collection name cannot be longer than 64 characters."_s},
        {u"$systemInfo"_s, u"An event collection name cannot start with the dollar sign ($) character."_s},
        {u"system$Info$"_s, {}},
        {u""_s, {}},
        {QString(), u"You must specify a non-null event collection name."_s},
    };
    for (const auto &[collection, message] : cases) {
        const qsizetype storedBefore = storedEvents().size();
        AnalyticsError error;
        EXPECT_EQ(client.addEvent({{u"a"_s, 1}}, collection, &error), message.isEmpty()) << collection.toStdString();
        EXPECT_EQ(error.message, message);
        EXPECT_EQ(storedEvents().size(), storedBefore + (message.isEmpty() ? 1 : 0));
    }
}

TEST_F(ANClientTest, ChecksTheEvent)
{
    const QString emoji = u"\U0001F600"_s;
    const QString dot = u"An event cannot contain a property with the period (.) character in it."_s;
    const QString dollar = u"An event cannot contain a property that starts with the dollar sign ($) character in it."_s;
    const QString longKey = u"An event cannot contain a property longer than 256 characters."_s;
    const QString longValue = u"An event cannot contain a property value longer than 10,000 characters."_s;
    const QString notJSON = u"An error occurred when serializing event to JSON: Event contains an invalid JSON type!"_s;
    const std::pair<QVariantMap, QString> cases[] = {
        {{}, u"You must specify a non-null, non-empty event."_s},
        {{{u"analytics"_s, u"now"_s}}, u"An event's root-level property named 'analytics' must be a dictionary."_s},
        {{{u"analytics"_s, QVariantMap()}}, {}},
        {{{u"analytics"_s, QVariantMap{{u"$timestamp"_s, 1}}}}, dollar},
        {{{emoji.repeated(128), 1}}, {}},
        {{{emoji.repeated(128) + u'k', 1}}, longKey},
        {{{u"k"_s, QString(10000, u'v')}}, {}},
        {{{u"k"_s, QString(10000, u'v') + u'v'}}, longValue},
        {{{u"k"_s, QVariantList{QString(10001, u'v')}}}, {}},
        {{{u"a.b"_s, 1}}, dot},
        {{{u"a"_s, QVariantMap{{u"b"_s, QVariantMap{{u"c.d"_s, 1}}}}}}, dot},
        {{{u"a"_s, QVariantList{QVariantMap{{u"c.d"_s, 1}}}}}, {}},
        {{{u"a"_s, QVariantMap()}}, {}},
        {{{u"$a"_s, 1}}, dollar},
        {{{u"a$"_s, 1}}, {}},
        {{{u"a"_s, QByteArray("bytes")}}, notJSON},
        {{{u"a"_s, std::nan("")}}, notJSON},
        {{{u"a"_s, QVariantList{std::numeric_limits<double>::infinity()}}}, notJSON},
        {{{u"a"_s, QVariantMap{{u"b"_s, -std::numeric_limits<double>::infinity()}}}}, notJSON},
    };
    for (const auto &[event, message] : cases) {
        const qsizetype storedBefore = storedEvents().size();
        AnalyticsError error;
        const bool added = client.addEvent(event, u"c"_s, &error);
        EXPECT_EQ(added, message.isEmpty()) << message.toStdString();
        EXPECT_EQ(error.message, message);
        if (message == notJSON) {
            ASSERT_TRUE(error.underlyingError);
            EXPECT_EQ(error.underlyingError->message, u"Event contains an invalid JSON type!"_s);
        }
        EXPECT_EQ(storedEvents().size(), storedBefore + (added ? 1 : 0));
    }
}

TEST_F(ANClientTest, AddingWithoutAWriteKeyThrowsAndStoresNothing)
{
    ANClient withoutKey(installation.environment());
    ASSERT_TRUE(withoutKey.initWithProjectId(u"project"_s, std::nullopt, u"readKey"_s));
    EXPECT_THROW(withoutKey.addEvent({{u"a"_s, 1}}, u"c"_s), ANNoWriteKeyProvided);
    EXPECT_THROW(withoutKey.addEvent({}, u"$c"_s), ANNoWriteKeyProvided);
    EXPECT_TRUE(storedEvents().isEmpty());
}

TEST_F(ANClientTest, TheEventsOwnEntriesWinOverTheBlocksAndTheBlocksOverTheDictionarys)
{
    client.setGlobalPropertiesDictionary(
        {{u"userUUID"_s, u"dictionary"_s}, {u"fromDictionary"_s, 1}, {u"shared"_s, u"dictionary"_s}});
    QStringList askedFor;
    client.setGlobalPropertiesBlock([&askedFor](const QString &collection) {
        askedFor.append(collection);
        return QVariantMap{{u"userUUID"_s, u"block"_s}, {u"shared"_s, u"block"_s}, {u"fromBlock"_s, true}};
    });
    ASSERT_TRUE(client.addEvent({{u"userUUID"_s, u"event"_s}, {u"noOfWords"_s, 12}}, u"languageInfo"_s));

    EXPECT_EQ(askedFor, QStringList{u"languageInfo"_s});
    const QJsonObject expected{{u"userUUID"_s, u"event"_s},
                               {u"fromDictionary"_s, 1},
                               {u"shared"_s, u"block"_s},
                               {u"fromBlock"_s, true},
                               {u"noOfWords"_s, 12},
                               {u"analytics"_s, QJsonObject{{u"timestamp"_s, clockTimestamp}}}};
    EXPECT_EQ(storedEvents(), QList<QJsonObject>{expected});
}

TEST_F(ANClientTest, AGlobalAnalyticsEntryThatIsNoDictionaryGivesWay)
{
    client.setGlobalPropertiesDictionary({{u"analytics"_s, u"not a dictionary"_s}});
    ASSERT_TRUE(client.addEvent({{u"a"_s, 1}}, u"c"_s));
    EXPECT_EQ(storedEvents().first().value(u"analytics"_s).toObject(),
              (QJsonObject{{u"timestamp"_s, clockTimestamp}}));
}

TEST_F(ANClientTest, FillsTheAnalyticsPropertiesUnderTheEventsOwn)
{
    ANProperties located(lexi::Date::fromSecondsSince1970(0));
    located.setLocation(ANLocation{13.4, 52.5});
    const std::tuple<QVariantMap, std::optional<ANProperties>, QJsonObject> cases[] = {
        {{{u"analytics"_s, QVariantMap{{u"timestamp"_s, u"2015-03-01T14:05:09+01:00"_s}}}},
         std::nullopt,
         {{u"timestamp"_s, u"2015-03-01T14:05:09+01:00"_s}}},
        {{{u"analytics"_s, QVariantMap{{u"source"_s, u"test"_s}}}},
         std::nullopt,
         {{u"timestamp"_s, clockTimestamp}, {u"source"_s, u"test"_s}}},
        {{{u"a"_s, 1}},
         located,
         {{u"timestamp"_s, u"1970-01-01T00:00:00+00:00"_s},
          {u"location"_s, QJsonObject{{u"coordinates"_s, QJsonArray{13.4, 52.5}}}}}},
    };
    for (const auto &[event, properties, analytics] : cases) {
        ASSERT_TRUE(client.addEvent(event, properties, u"c"_s));
        EXPECT_EQ(storedEvents().last().value(u"analytics"_s).toObject(), analytics);
    }
}

TEST_F(ANClientTest, StoresDatesAsLocalTimeText)
{
    const lexi::Date date = lexi::Date::fromSecondsSince1970(1425218709);
    ASSERT_TRUE(client.addEvent({{u"date"_s, QVariant::fromValue(date)}, {u"dateTime"_s, date.toDateTime()}},
                                u"c"_s));
    const QJsonObject stored = storedEvents().first();
    EXPECT_EQ(stored.value(u"date"_s), u"2015-03-01T14:05:09+00:00"_s);
    EXPECT_EQ(stored.value(u"dateTime"_s), u"2015-03-01T14:05:09+00:00"_s);
}

TEST_F(ANClientTest, AFullStoreForgetsItsHundredOldestEventsBeforeAddingOne)
{
    {
        SqliteFile file(installation.databasePath());
        ASSERT_TRUE(file.execute("BEGIN;"));
        for (int row = 0; row < 10000; ++row)
            file.execute("INSERT INTO events (projectId, collection, eventData, pending, attempts) "
                         "VALUES ('project', 'c', '{}', 0, 0);");
        ASSERT_TRUE(file.execute("COMMIT;"));
    }
    ASSERT_TRUE(client.addEvent({{u"newest"_s, true}}, u"c"_s));

    EXPECT_EQ(client.eventStore()->getTotalEventCount(), 9901u);
    SqliteFile file(installation.databasePath());
    EXPECT_EQ(file.integer("SELECT min(id) FROM events;"), 101);
    EXPECT_TRUE(storedEvents().last().value(u"newest"_s).toBool());
}

TEST_F(ANClientTest, AnEventIsRefusedWhenItsDateCannotBeWritten)
{
    QFile blocker(installation.folder.filePath(u"not-a-folder"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ANClient::Environment environment = installation.environment();
    environment.databasePath = blocker.fileName() + u"/analyticsEvents.sqlite"_s;
    lexi::test::ConsoleCapture failureReports;
    ANClient unusable(environment);
    ASSERT_TRUE(unusable.initWithProjectId(u"project"_s, u"w"_s, u"r"_s));

    AnalyticsError error;
    EXPECT_FALSE(unusable.addEvent({{u"a"_s, 1}}, u"c"_s, &error));
    EXPECT_EQ(error.message,
              u"An error occurred when serializing event to JSON: A date in the event could not be written as text."_s);
}

TEST_F(ANClientTest, AnEventTheStoreCannotKeepIsReportedAsNotAdded)
{
    ASSERT_TRUE(client.addEvent({{u"a"_s, 1}}, u"c"_s));
    {
        // Another program holds the database locked for writing.
        SqliteFile other(installation.databasePath());
        ASSERT_TRUE(other.execute("BEGIN EXCLUSIVE;"));
        lexi::test::ConsoleCapture failureReports;
        AnalyticsError error;
        EXPECT_FALSE(client.addEvent({{u"a"_s, 2}}, u"c"_s, &error));
        EXPECT_EQ(error.message, u"The event could not be stored."_s);
        other.execute("ROLLBACK;");
    }
    EXPECT_EQ(storedEvents().size(), 1);
}

} // namespace
