#include "model/CreationIdentifiers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using lexi::CreationIdentifierMaker;
using lexi::Date;
using namespace Qt::StringLiterals;
using lexi::WordList;

namespace {

constexpr qint64 dayOf(qint64 identifier)
{
    return (identifier >> CreationIdentifierMaker::randomBits) & 0xFFFF;
}

TEST(CreationIdentifiersTest, NewIdentifiersLieAboveEveryOlderOneAndCarryTheDay)
{
    const struct
    {
        double seconds;
        qint64 day;
    } cases[] = {{0.0, 0},           {86399.9, 0},        {86400.0, 1},   {820000000.0, 9490},
                 {-5000.0, 0},       {1e15, 0xFFFE},      {std::nan(""), 0},
                 {std::numeric_limits<double>::infinity(), 0}};
    // The largest identifier older versions made for a clock of the year 2100: a batch base of
    // seconds × 100,000 plus the batch's words.
    const qint64 largestOlder = 3124137600LL * 100000 + 1000000;
    for (const auto &c : cases) {
        CreationIdentifierMaker maker({}, Date::fromSecondsSinceReferenceDate(c.seconds));
        for (int i = 0; i < 100; ++i) {
            const qint64 identifier = maker.next();
            EXPECT_GE(identifier, CreationIdentifierMaker::firstIdentifier) << c.seconds;
            EXPECT_GT(identifier, largestOlder);
            EXPECT_EQ(dayOf(identifier), c.day) << c.seconds;
        }
    }
}

TEST(CreationIdentifiersTest, TwoInstallationsMakingIdentifiersAtTheSameMomentNeverShareOne)
{
    const Date now = Date::fromSecondsSinceReferenceDate(820000000.0);
    CreationIdentifierMaker here({}, now);
    CreationIdentifierMaker there({}, now);
    QSet<qint64> made;
    for (int i = 0; i < 50000; ++i) {
        made.insert(here.next());
        made.insert(there.next());
    }
    // Batches too: each a range of its own.
    const qint64 batchHere = here.nextRange(10000);
    const qint64 batchThere = there.nextRange(10000);
    for (qint64 offset = 0; offset < 10000; ++offset) {
        made.insert(batchHere + offset);
        made.insert(batchThere + offset);
    }
    EXPECT_EQ(made.size(), 120000);
}

TEST(CreationIdentifiersTest, AnIdentifierAWordHasOrThatWasMadeIsNeverMadeAgain)
{
    // Two makers drawing the same random numbers: the second passes over what the first made,
    // once its words hold it.
    const Date now = Date::fromSecondsSinceReferenceDate(820000000.0);
    QRandomGenerator firstRandom(7);
    CreationIdentifierMaker first({}, now, firstRandom);
    const qint64 single = first.next();
    const qint64 batch = first.nextRange(3);
    WordList words;
    for (const qint64 identifier : {single, batch + 1}) {
        auto word = std::make_shared<QLXWord>();
        word->setCreationID(identifier);
        words.append(word);
    }
    QRandomGenerator secondRandom(7);
    CreationIdentifierMaker second(words, now, secondRandom);
    const qint64 again = second.next();
    EXPECT_NE(again, single);
    const qint64 range = second.nextRange(3);
    EXPECT_FALSE(range <= batch + 1 && batch + 1 < range + 3);
    EXPECT_NE(second.next(), again);
    // Identifiers in use that the caller keeps are passed over the same way.
    QRandomGenerator thirdRandom(7);
    const qint64 free = CreationIdentifierMaker::nextNotIn({single}, now, thirdRandom);
    EXPECT_NE(free, single);
    EXPECT_EQ(dayOf(free), dayOf(single));
}

TEST(CreationIdentifiersTest, DerivedIdentifiersAreTheSameEverywhereAndNeverMade)
{
    const qint64 derived = lexi::derivedCreationID(5, u"chat"_s, u"cat"_s);
    EXPECT_EQ(derived, lexi::derivedCreationID(5, u"chat"_s, u"cat"_s, 0));
    EXPECT_TRUE(CreationIdentifierMaker::isDerived(derived));
    EXPECT_TRUE(CreationIdentifierMaker::isMadeHere(derived));
    for (const qint64 other : {lexi::derivedCreationID(6, u"chat"_s, u"cat"_s),
                               lexi::derivedCreationID(5, u"chien"_s, u"cat"_s),
                               lexi::derivedCreationID(5, u"chat"_s, u"dog"_s),
                               lexi::derivedCreationID(5, u"cat"_s, u"chat"_s),
                               lexi::derivedCreationID(5, u"chat"_s, u"cat"_s, 1)}) {
        EXPECT_NE(other, derived);
        EXPECT_TRUE(CreationIdentifierMaker::isDerived(other));
    }
    // Not even a clock beyond the last day makes one.
    CreationIdentifierMaker maker({}, Date::fromSecondsSinceReferenceDate(1e15));
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(CreationIdentifierMaker::isDerived(maker.next()));
}

} // namespace
