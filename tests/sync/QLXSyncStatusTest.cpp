#include "sync/QLXSyncStatus.h"

#include "support/FakeClock.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Action = QLXSyncStatus::SyncAction;
using Direction = QLXSyncStatus::SyncDirection;

TEST(QLXSyncStatusTest, StartsUnchangedAtTheClocksTime)
{
    lexi::test::FakeClock clock;
    const auto status = QLXSyncStatus::statusWithLanguage(u"French - English"_s, -1, -1, Direction::dropboxToLocal,
                                                          clock);
    EXPECT_EQ(status.languageName(), u"French - English"_s);
    EXPECT_EQ(status.localVersion(), -1);
    EXPECT_EQ(status.dropboxVersion(), -1);
    EXPECT_EQ(status.syncDirection(), Direction::dropboxToLocal);
    EXPECT_EQ(status.syncAction(), Action::unchanged);
    EXPECT_EQ(status.time(), clock.now());
    EXPECT_EQ(status.error(), std::nullopt);
    EXPECT_EQ(status.message(), std::nullopt);
}

TEST(QLXSyncStatusTest, RendersItsLogLines)
{
    lexi::test::FakeClock clock(lexi::Date::fromSecondsSinceReferenceDate(0));
    const QString t = u"2001-01-01 00:00:00 +0000 "_s;
    struct Case
    {
        QString language;
        std::optional<QString> message;
        qint64 local;
        qint64 dropbox;
        Action action;
        Direction direction;
        bool header;
        bool indent;
        QString expected;
    };
    const Case cases[] = {
        {u"French - English"_s, u"exists locally > sync"_s, 5, 3, Action::pushed, Direction::localToDropbox, true, true,
         t + u"Sync Local To Dropbox\n"_s + t + u"    <French - English> exists locally > sync\n"_s + t
             + u"        (l 5 >> 3 db)   upload"_s},
        {u"French - English"_s, std::nullopt, 4, 4, Action::unchanged, Direction::dropboxToLocal, true, false,
         t + u"Sync Dropbox To Local\n"_s + t + u"<French - English> .\n"_s + t + u"(l 4 == 4 db)   do nothing"_s},
        {QString(), u"x"_s, -1, 7, Action::pulled, Direction::dropboxToLocal, false, false,
         t + u"<unknown> x\n"_s + t + u"(l -1 << 7 db)   download"_s},
        {u"a"_s, u"m"_s, 2, 2, Action::merged, Direction::dropboxToLocal, false, true,
         t + u"    <a> m\n"_s + t + u"        (l 2 == 2 db)   merge"_s},
        {u"a"_s, u"m"_s, 2, 2, Action::skipped, Direction::dropboxToLocal, false, false,
         t + u"<a> m\n"_s + t + u"(l 2 == 2 db)   do nothing"_s},
    };
    for (const Case &test : cases) {
        auto status = QLXSyncStatus::statusWithLanguage(test.language, test.local, test.dropbox, test.direction, clock);
        if (test.message)
            status.setMessage(*test.message);
        status.setSyncAction(test.action);
        EXPECT_EQ(status.logStringWithDirection(test.header, test.indent), test.expected);
    }
}
