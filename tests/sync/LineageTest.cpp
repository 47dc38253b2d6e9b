#include "sync/Lineage.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::Lineage;
using lexi::VersionMark;

namespace {

TEST(LineageTest, HoldsEveryEarlierStepOfTheRunsItListsAndNothingElse)
{
    const Lineage lineage({u"b:3"_s, u"no mark"_s, u"a:2"_s, u":4"_s, u"c:0"_s, u"a:5"_s, u"d:x"_s});
    EXPECT_EQ(lineage.stored(), (QStringList{u"b:3"_s, u"a:5"_s}));
    EXPECT_EQ(lineage.head(), (VersionMark{u"b"_s, 3}));
    for (const VersionMark &held : {VersionMark{u"b"_s, 1}, VersionMark{u"b"_s, 3}, VersionMark{u"a"_s, 5}})
        EXPECT_TRUE(lineage.holds(held)) << held.text().toStdString();
    for (const VersionMark &other : {VersionMark{u"b"_s, 4}, VersionMark{u"c"_s, 1}, VersionMark{u"a:b"_s, 1}})
        EXPECT_FALSE(lineage.holds(other)) << other.text().toStdString();
    EXPECT_FALSE(Lineage().head());
}

TEST(LineageTest, ANewVersionListsItsMarkFirstThenTheRunsOfWhatItWasMadeFrom)
{
    const Lineage dropbox({u"b:3"_s, u"a:2"_s});
    const Lineage local({u"a:4"_s, u"c:1"_s});
    EXPECT_EQ(Lineage::ofNewVersion({u"a"_s, 5}, {dropbox, local}).stored(),
              (QStringList{u"a:5"_s, u"b:3"_s, u"c:1"_s}));
    EXPECT_EQ(Lineage::ofNewVersion({u"d"_s, 1}, {dropbox, local}).stored(),
              (QStringList{u"d:1"_s, u"b:3"_s, u"a:4"_s, u"c:1"_s}));

    // The oldest runs are forgotten.
    QStringList many;
    for (int run = 0; run < Lineage::maximumRuns; ++run)
        many.append(u"r%1:1"_s.arg(run));
    const QStringList stored = Lineage::ofNewVersion({u"new"_s, 1}, {Lineage(many)}).stored();
    EXPECT_EQ(stored.size(), Lineage::maximumRuns);
    EXPECT_EQ(stored.first(), u"new:1"_s);
    EXPECT_EQ(stored.last(), u"r%1:1"_s.arg(Lineage::maximumRuns - 2));
}

} // namespace
