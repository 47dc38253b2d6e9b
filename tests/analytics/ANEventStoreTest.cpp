#include "AnalyticsTestSupport.h"

#include "analytics/ANEventStore.h"
#include "support/ConsoleCapture.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::test::AnalyticsInstallation;
using lexi::test::SqliteFile;

namespace {

class ANEventStoreTest : public testing::Test
{
protected:
    std::unique_ptr<ANEventStore> openStore(const QString &projectId = u"project"_s)
    {
        auto store = std::make_unique<ANEventStore>(installation.databasePath());
        store->setProjectId(projectId);
        return store;
    }

    // The ids of the store's collectable events, oldest first.
    static QList<quint64> idsOf(ANEventStore &store)
    {
        QList<quint64> ids;
        for (const auto &events : store.getEventsWithMaxAttempts(100))
            ids.append(events.keys());
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    AnalyticsInstallation installation;
};

TEST_F(ANEventStoreTest, ANewFileEndsAtVersionTwoAndReopeningChangesNothing)
{
    auto store = openStore();
    ASSERT_TRUE(store->addEvent("{\"a\":1}", u"c"_s));
    SqliteFile file(installation.databasePath());
    EXPECT_EQ(file.integer("PRAGMA user_version;"), 2);
    const QStringList schema = file.texts("SELECT sql FROM sqlite_master WHERE name='events';");
    ASSERT_EQ(schema.size(), 1);
    EXPECT_TRUE(schema.first().endsWith(u"attempts INTEGER DEFAULT 0)"_s)) << schema.first().toStdString();
    // No transaction is left open: another connection can write.
    EXPECT_TRUE(file.execute("BEGIN IMMEDIATE; COMMIT;"));

    store.reset();
    store = openStore();
    EXPECT_EQ(file.integer("PRAGMA user_version;"), 2);
    EXPECT_EQ(file.texts("SELECT sql FROM sqlite_master WHERE name='events';"), schema);
    EXPECT_EQ(store->getTotalEventCount(), 1u);
}

TEST_F(ANEventStoreTest, AFileOfALaterVersionIsLeftAsItIs)
{
    {
        SqliteFile file(installation.databasePath());
        ASSERT_TRUE(file.execute("CREATE TABLE events (ID INTEGER PRIMARY KEY AUTOINCREMENT, collection TEXT, "
                                 "projectId TEXT, eventData BLOB, pending INTEGER, dateCreated TIMESTAMP, "
                                 "attempts INTEGER DEFAULT 0, extra TEXT);"
                                 "INSERT INTO events (collection, projectId, eventData, pending) "
                                 "VALUES ('c', 'project', '{}', 0);"
                                 "PRAGMA user_version = 3;"));
    }
    auto store = openStore();
    EXPECT_FALSE(store->addEvent("{}", u"c"_s));
    EXPECT_EQ(store->getTotalEventCount(), 0u);
    EXPECT_TRUE(store->getEventsWithMaxAttempts(3).isEmpty());
    EXPECT_FALSE(store->convertNSDateToISO8601(lexi::Date()));
    store->deleteAllEvents();
    store.reset();

    SqliteFile file(installation.databasePath());
    EXPECT_EQ(file.integer("PRAGMA user_version;"), 3);
    EXPECT_EQ(file.integer("SELECT count(*) FROM events;"), 1);
}

TEST_F(ANEventStoreTest, IdsOnlyGrow)
{
    auto store = openStore();
    store->addEvent("{\"n\":1}", u"c"_s);
    store->addEvent("{\"n\":2}", u"c"_s);
    const QList<quint64> first = idsOf(*store);
    ASSERT_EQ(first.size(), 2);
    EXPECT_LT(first[0], first[1]);

    store->deleteEvents({first[1]});
    store->addEvent("{\"n\":3}", u"c"_s);
    const QList<quint64> after = idsOf(*store);
    ASSERT_EQ(after.size(), 2);
    EXPECT_EQ(after[0], first[0]);
    EXPECT_GT(after[1], first[1]);
}

TEST_F(ANEventStoreTest, CollectsEventsTriedFewerTimesThanTheLimitAndMarksThemPending)
{
    auto store = openStore();
    const QByteArray binary("{\"x\":\"\0\xff\"}", 11);
    store->addEvent(binary, u"systemInfo"_s);
    store->addEvent("{\"n\":1}", u"systemInfo"_s);
    store->addEvent("{\"n\":2}", u"languageInfo"_s);
    store->addEvent("{\"n\":3}", u"languageInfo"_s);
    const QList<quint64> ids = idsOf(*store);
    ASSERT_EQ(ids.size(), 4);
    // Attempts 0, 1, 2 and 3.
    store->incrementAttempts({ids[1], ids[2], ids[3]});
    store->incrementAttempts({ids[2], ids[3]});
    store->incrementAttempts({ids[3]});

    const ANEventStore::EventsByCollection expected = {
        {u"systemInfo"_s, {{ids[0], binary}, {ids[1], "{\"n\":1}"}}},
        {u"languageInfo"_s, {{ids[2], "{\"n\":2}"}}},
    };
    EXPECT_EQ(store->getEventsWithMaxAttempts(3), expected);
    EXPECT_EQ(store->getPendingEventCount(), 3u);
    EXPECT_TRUE(store->hasPendingEvents());
    // The pending marks of the earlier collection are cleared first.
    EXPECT_EQ(store->getEventsWithMaxAttempts(3), expected);
    EXPECT_EQ(store->getTotalEventCount(), 4u);
}

TEST_F(ANEventStoreTest, AgeOutKeepsTheNewestRowsOfTheWholeTable)
{
    struct Case
    {
        int ownRows;
        int otherProjectRows;
        quint64 offset;
        quint64 ownRowsLeft;
    };
    const Case cases[] = {{10, 0, 4, 4}, {3, 0, 4, 3}, {4, 0, 4, 4}, {6, 4, 4, 0}};
    for (const Case &test : cases) {
        QFile::remove(installation.databasePath());
        auto store = openStore();
        for (int row = 0; row < test.ownRows; ++row)
            store->addEvent(QByteArray::number(row), u"c"_s);
        {
            SqliteFile file(installation.databasePath());
            for (int row = 0; row < test.otherProjectRows; ++row)
                file.execute("INSERT INTO events (projectId, collection, eventData, pending, attempts) "
                             "VALUES ('other', 'c', 'x', 0, 0);");
        }
        const QList<quint64> before = idsOf(*store);
        store->deleteEventsFromOffset(test.offset);
        const QList<quint64> after = idsOf(*store);
        EXPECT_EQ(store->getTotalEventCount(), test.ownRowsLeft) << test.ownRows << " " << test.offset;
        EXPECT_EQ(after, before.mid(before.size() - qsizetype(test.ownRowsLeft))) << test.ownRows;
    }
}

TEST_F(ANEventStoreTest, CountsAndPurgesOnlyTheProjectsRowsAndDeletesAllOfEveryProject)
{
    auto store = openStore(u"other"_s);
    store->addEvent("{}", u"c"_s);
    store->getEventsWithMaxAttempts(3);
    store->setProjectId(u"project"_s);
    store->addEvent("{}", u"c"_s);
    store->addEvent("{}", u"d"_s);

    EXPECT_EQ(store->getTotalEventCount(), 2u);
    EXPECT_EQ(store->getPendingEventCount(), 0u);
    EXPECT_FALSE(store->hasPendingEvents());
    EXPECT_EQ(store->getEventsWithMaxAttempts(3).size(), 2);
    EXPECT_EQ(store->getPendingEventCount(), 2u);
    store->purgePendingEvents();
    EXPECT_EQ(store->getTotalEventCount(), 0u);

    SqliteFile file(installation.databasePath());
    EXPECT_EQ(file.integer("SELECT count(*) FROM events WHERE projectId='other' AND pending=1;"), 1);
    store->deleteAllEvents();
    store->setProjectId(u"other"_s);
    EXPECT_EQ(store->getTotalEventCount(), 0u);
}

TEST_F(ANEventStoreTest, AFolderThatCannotHoldTheFileGivesEmptyResults)
{
    QFile blocker(installation.folder.filePath(u"not-a-folder"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    lexi::test::ConsoleCapture console;
    ANEventStore store(blocker.fileName() + u"/analyticsEvents.sqlite"_s);
    store.setProjectId(u"project"_s);

    EXPECT_FALSE(store.addEvent("{}", u"c"_s));
    EXPECT_TRUE(store.getEventsWithMaxAttempts(3).isEmpty());
    EXPECT_FALSE(store.hasPendingEvents());
    EXPECT_EQ(store.getPendingEventCount(), 0u);
    EXPECT_EQ(store.getTotalEventCount(), 0u);
    EXPECT_FALSE(store.convertNSDateToISO8601(lexi::Date()));
    store.incrementAttempts({1});
    store.deleteEvents({1});
    store.deleteEventsFromOffset(0);
    store.resetPendingEvents();
    store.purgePendingEvents();
    store.deleteAllEvents();
    EXPECT_EQ(store.getTotalEventCount(), 0u);

    ASSERT_FALSE(console.lines().isEmpty());
    EXPECT_EQ(console.lines().first(), u"Failed to create database: unable to open database file"_s);
}

TEST_F(ANEventStoreTest, AFailedStatementIsReportedAndTheNextOperationReopens)
{
    auto store = openStore();
    ASSERT_TRUE(store->addEvent("{\"n\":1}", u"c"_s));
    SqliteFile locker(installation.databasePath());
    ASSERT_TRUE(locker.execute("BEGIN EXCLUSIVE;"));
    lexi::test::ConsoleCapture console;

    EXPECT_FALSE(store->addEvent("{\"n\":2}", u"c"_s));
    ASSERT_EQ(console.lines().size(), 1);
    EXPECT_EQ(console.lines().first(), u"Failed to insert event: database is locked"_s);

    ASSERT_TRUE(locker.execute("COMMIT;"));
    EXPECT_TRUE(store->addEvent("{\"n\":3}", u"c"_s));
    EXPECT_EQ(store->getTotalEventCount(), 2u);
}

TEST_F(ANEventStoreTest, WritesDatesAsLocalTimeWithTheOffset)
{
    // The program runs in UTC; other zones have test programs of their own.
    auto store = openStore();
    const std::pair<double, const char16_t *> cases[] = {
        {0.0, u"1970-01-01T00:00:00+00:00"},
        {1425218709.75, u"2015-03-01T14:05:09+00:00"},
        {-0.5, u"1969-12-31T23:59:59+00:00"},
    };
    for (const auto &[seconds, text] : cases)
        EXPECT_EQ(store->convertNSDateToISO8601(lexi::Date::fromSecondsSince1970(seconds)), QString::fromUtf16(text));
    EXPECT_FALSE(store->convertNSDateToISO8601(lexi::Date::fromSecondsSince1970(std::nan(""))));
}

} // namespace
