#include "platform/files/StringTables.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::StringTables;

TEST(StringTablesTest, LooksUpTextsAndShowsMissingKeysAsThemselves)
{
    EXPECT_EQ(StringTables::text(u"%ld Weeks"_s), u"%ld Weeks"_s);
    EXPECT_EQ(StringTables::text(u"noSuchKey"_s), u"noSuchKey"_s);
    EXPECT_EQ(StringTables::text(u"never"_s, u"NoSuchTable"_s), u"never"_s);
}
