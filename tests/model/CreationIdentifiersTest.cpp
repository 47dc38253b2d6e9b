#include "model/CreationIdentifiers.h"

#include <gtest/gtest.h>

#include <limits>

using lexi::WordList;

namespace {

WordList wordsWithIDs(std::initializer_list<qint64> identifiers)
{
    WordList words;
    for (const qint64 identifier : identifiers) {
        auto word = std::make_shared<QLXWord>();
        word->setCreationID(identifier);
        words.append(word);
    }
    return words;
}

TEST(CreationIdentifiersTest, ABatchBaseGrowsWithTheBatch)
{
    const struct
    {
        qint64 count;
        qint64 factor;
    } cases[] = {{-3, 100},     {0, 100},      {1, 100},      {99, 100},        {100, 1000},
                 {999, 1000},   {1000, 10000}, {9999, 10000}, {10000, 100000}, {250000, 100000}};
    for (const auto &c : cases)
        EXPECT_EQ(lexi::batchIdentifierBase(600000000, c.count), 600000000 * c.factor) << c.count;
    // A clock far off holds the base to the range instead of overflowing.
    EXPECT_EQ(lexi::batchIdentifierBase(std::numeric_limits<qint64>::max() / 10, 10000),
              std::numeric_limits<qint64>::max());
    EXPECT_EQ(lexi::batchIdentifierBase(std::numeric_limits<qint64>::min() / 10, 10000),
              std::numeric_limits<qint64>::min());
}

TEST(CreationIdentifiersTest, FreeIdentifiersSkipEveryRangeAWordIsIn)
{
    const struct
    {
        std::initializer_list<qint64> taken;
        qint64 count;
        qint64 first;
    } cases[] = {
        {{}, 3, 100},
        {{100}, 1, 101},
        {{101, 100, 102}, 1, 103},
        {{99, 105}, 5, 100},
        {{104}, 5, 105},
        {{100, 101, 103}, 2, 104},
        {{102, 110}, 3, 103},
        {{100}, 0, 100},
    };
    for (const auto &c : cases)
        EXPECT_EQ(lexi::firstFreeIdentifiers(wordsWithIDs(c.taken), 100, c.count), c.first) << c.count;
}

TEST(CreationIdentifiersTest, ReservedBatchesNeverOverlapAndOnlyRise)
{
    const WordList none;
    const qint64 first = lexi::reserveBatchIdentifiers(none, 600000000LL * 100, 50);
    EXPECT_GE(first, 600000000LL * 100);
    // The same second again, and an earlier one: both come after the first batch.
    const qint64 second = lexi::reserveBatchIdentifiers(none, 600000000LL * 100, 50);
    EXPECT_GE(second, first + 50);
    const qint64 third = lexi::reserveBatchIdentifiers(none, 500000000LL * 100, 1);
    EXPECT_GE(third, second + 50);
    // The words' own identifiers are skipped as well.
    const qint64 fourth = lexi::reserveBatchIdentifiers(wordsWithIDs({third + 1}), third, 2);
    EXPECT_GE(fourth, third + 2);
}

} // namespace
