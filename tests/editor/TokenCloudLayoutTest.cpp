#include "editor/TokenCloudLayout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::TokenCloudHeight;
using lexi::TokenCloudLayout;

namespace {

struct Placed
{
    QString title;
    double x;
    double y;

    friend bool operator==(const Placed &, const Placed &) = default;
    friend void PrintTo(const Placed &placed, std::ostream *out)
    {
        *out << placed.title.toStdString() << "@(" << placed.x << ", " << placed.y << ")";
    }
};

TEST(TokenCloudLayoutTest, ButtonsAreSortedAndFlowedIntoRowsFromTheTop)
{
    const struct
    {
        const char *what;
        QList<TokenCloudLayout::Token> tokens;
        double width;
        QList<Placed> expected;
        double neededHeight;
    } cases[] = {
        {"sorted ignoring case, one row advances by width + 4",
         {{u"banana"_s, 30}, {u"Apple"_s, 20}, {u"cherry"_s, 10}},
         500,
         {{u"Apple"_s, 0, 80}, {u"banana"_s, 24, 80}, {u"cherry"_s, 58, 80}},
         24},
        {"44 + 44 fits in 100, the third starts a row; rows advance by width + 5",
         {{u"a"_s, 40}, {u"b"_s, 40}, {u"c"_s, 40}},
         100,
         {{u"a"_s, 0, 80}, {u"b"_s, 45, 80}, {u"c"_s, 0, 56}},
         48},
        {"a button wider than the cloud coming first fills its row alone",
         {{u"a"_s, 120}, {u"b"_s, 40}},
         100,
         {{u"a"_s, 0, 80}, {u"b"_s, 0, 56}},
         48},
        {"a button wider than the cloud after another joins that row and ends it",
         {{u"a"_s, 40}, {u"b"_s, 120}, {u"c"_s, 40}},
         100,
         {{u"a"_s, 0, 80}, {u"b"_s, 45, 80}, {u"c"_s, 0, 56}},
         48},
        {"a button filling the rest of the row exactly joins it", {{u"a"_s, 46}, {u"b"_s, 46}}, 100,
         {{u"a"_s, 0, 80}, {u"b"_s, 50, 80}}, 24},
        {"no buttons", {}, 100, {}, 0},
        {"zero width places nothing", {{u"a"_s, 40}}, 0, {}, 0},
        {"negative width places nothing", {{u"a"_s, 40}}, -5, {}, 0},
    };
    for (const auto &test : cases) {
        const TokenCloudLayout::Result result = TokenCloudLayout::layout(test.tokens, test.width, 100);
        QList<Placed> placed;
        for (const auto &placement : result.placements)
            placed.append({test.tokens[placement.token].title, placement.x, placement.y});
        EXPECT_EQ(placed, test.expected) << test.what;
        EXPECT_EQ(result.neededHeight, test.neededHeight) << test.what;
    }
}

TEST(TokenCloudLayoutTest, HeightChangesAreReportedFromTheSecondLayoutOn)
{
    TokenCloudHeight height;
    EXPECT_EQ(height.layoutNeeded(48), std::nullopt);
    EXPECT_EQ(height.preferredHeight(), -1);
    EXPECT_EQ(height.layoutNeeded(48), 48);
    EXPECT_EQ(height.layoutNeeded(48), std::nullopt);
    EXPECT_EQ(height.layoutNeeded(0), 0);
    EXPECT_EQ(height.preferredHeight(), 0);
}

} // namespace
