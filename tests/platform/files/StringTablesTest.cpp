#include "platform/files/StringTables.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::StringTables;

TEST(StringTablesTest, LooksUpTextsAndShowsMissingKeysAsThemselves)
{
    // Texts that differ from their keys, so that only a table actually read gives them.
    EXPECT_EQ(StringTables::text(u"unknownLanguage"_s), u"Unknown language"_s);
    EXPECT_EQ(StringTables::text(u"lastSynched"_s, u"MainWindow"_s), u"Last synchronised %@ ago"_s);
    EXPECT_EQ(StringTables::text(u"lastSynched"_s), u"lastSynched"_s);
    EXPECT_EQ(StringTables::text(u"%ld Weeks"_s), u"%ld Weeks"_s);
    EXPECT_EQ(StringTables::text(u"noSuchKey"_s), u"noSuchKey"_s);
    EXPECT_EQ(StringTables::text(u"never"_s, u"NoSuchTable"_s), u"never"_s);
}
