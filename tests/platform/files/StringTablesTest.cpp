#include "platform/files/StringTables.h"

#include <gtest/gtest.h>

using lexi::StringTables;

TEST(StringTablesTest, LooksUpTextsAndShowsMissingKeysAsThemselves)
{
    EXPECT_EQ(StringTables::text(QStringLiteral("%ld Weeks")), QStringLiteral("%ld Weeks"));
    EXPECT_EQ(StringTables::text(QStringLiteral("noSuchKey")), QStringLiteral("noSuchKey"));
    EXPECT_EQ(StringTables::text(QStringLiteral("never"), QStringLiteral("NoSuchTable")), QStringLiteral("never"));
}
