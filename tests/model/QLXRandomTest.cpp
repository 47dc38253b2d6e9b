#include "support/ConsoleCapture.h"

#include "model/QLXRandom.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

TEST(QLXRandomTest, IntegersStayInTheirClosedRangeAndReachBothEnds)
{
    QLXRandom random;
    std::set<qint64> seen;
    for (int i = 0; i < 2000; ++i) {
        const qint64 value = random.randomIntBetween(0, 2);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 2);
        seen.insert(value);
        ASSERT_EQ(random.randomIntBetween(-7, -7), -7);
        const qint64 negative = random.randomIntBetween(-3, 3);
        ASSERT_TRUE(negative >= -3 && negative <= 3);
    }
    EXPECT_EQ(seen, (std::set<qint64>{0, 1, 2}));
}

TEST(QLXRandomTest, UsesTheSourceAsGiven)
{
    quint32 next = 0;
    QLXRandom random([&] { return next; });
    next = 7;
    EXPECT_EQ(random.randomIntBetween(10, 12), 11);
    next = std::numeric_limits<quint32>::max();
    EXPECT_EQ(random.randomIntBetween(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()),
              std::numeric_limits<qint64>::min() + qint64(next));
    EXPECT_LT(random.randomFloatBetween(1.0, 2.0), 2.0);
    next = 0;
    EXPECT_EQ(random.randomFloatBetween(1.0, 2.0), 1.0);
    next = 0x80000000u;
    EXPECT_EQ(random.randomFloatBetween(-1.0, 1.0), 0.0);
}

TEST(QLXRandomTest, AnEmptyRangeGivesItsLowEndWithoutDividingByZero)
{
    QLXRandom random([] { return quint32(5); });
    EXPECT_EQ(random.randomIntBetween(4, 3), 4);
    EXPECT_EQ(random.randomIntBetween(0, -1), 0);
}
