#include "analytics/HTTPCodes.h"

#include <gtest/gtest.h>

namespace {

TEST(HTTPCodesTest, GivesTheClassOfAStatusCode)
{
    const std::pair<unsigned long, int> cases[] = {{99, 0},  {100, 1}, {200, 2}, {299, 2}, {302, 3},
                                                   {404, 4}, {599, 5}, {600, 0}, {0, 0}};
    for (const auto &[code, type] : cases)
        EXPECT_EQ(HTTPCodes::httpCodeType(code), type) << code;
}

} // namespace
