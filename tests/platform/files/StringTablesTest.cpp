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

TEST(StringTablesTest, PluralFormsFollowTheEnglishRule)
{
    const QString key = u"duplicatesDeleted"_s;
    const QString table = u"Vocabulary"_s;
    const struct
    {
        qint64 count;
        QString form;
    } cases[] = {
        {1, u"%ld duplicate word deleted"_s},  {0, u"%ld duplicate words deleted"_s},
        {2, u"%ld duplicate words deleted"_s}, {11, u"%ld duplicate words deleted"_s},
        {21, u"%ld duplicate words deleted"_s}, {-1, u"%ld duplicate words deleted"_s},
    };
    for (const auto &test : cases)
        EXPECT_EQ(StringTables::pluralText(key, test.count, table), test.form) << test.count;
    EXPECT_EQ(StringTables::text(key, table), u"%ld duplicate words deleted"_s) << "the other form";
    // A plain text serves every number; a missing key shows as itself.
    EXPECT_EQ(StringTables::pluralText(u"allStatus"_s, 1, table), u"%lu words"_s);
    EXPECT_EQ(StringTables::pluralText(u"noSuchKey"_s, 1, table), u"noSuchKey"_s);
}
