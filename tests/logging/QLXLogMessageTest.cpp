#include "logging/QLXLogFlags.h"
#include "logging/QLXLogMessage.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(QLXLogMessageTest, BaseNameStopsAtTheLastDotAfterTheLastSlash)
{
    EXPECT_EQ(QLXBaseNameOfPath("/src/app/Main.txt"), u"Main"_s);
    EXPECT_EQ(QLXBaseNameOfPath("Makefile"), u"Makefile"_s);
    EXPECT_EQ(QLXBaseNameOfPath("/a.b/c"), u"c"_s);
    EXPECT_EQ(QLXBaseNameOfPath("archive.tar.gz"), u"archive.tar"_s);
    EXPECT_FALSE(QLXBaseNameOfPath(nullptr));
}

TEST(QLXLogMessageTest, ThreadIDIsLowercaseHexadecimal)
{
    const QLXLogMessage message(u"abc"_s, 31, QLXLogFlagInfo, 0, "f.cpp", "fn", 1, QString(), 0,
                                std::nullopt, {0x1a03, "queue", u"thread"_s});
    EXPECT_EQ(message.threadID(), u"1a03"_s);
    EXPECT_EQ(message.queueLabel(), "queue");
}

TEST(QLXLogMessageTest, CopiesDuplicateOnlyTheNamesTheirOptionsOwn)
{
    std::string file = "/src/File.cpp";
    std::string function = "doIt:";
    const QLXLogMessage original(u"text"_s, 31, QLXLogFlagWarn, 0, file.c_str(), function.c_str(), 7,
                                 u"tag"_s, QLXLogMessage::CopyFunction,
                                 lexi::Date::fromSecondsSinceReferenceDate(1.5));
    const QLXLogMessage copy(original);

    EXPECT_EQ(original.file(), file.c_str());
    EXPECT_EQ(copy.file(), file.c_str());
    EXPECT_NE(original.function(), function.c_str());
    EXPECT_NE(copy.function(), original.function());
    function = "changed";
    EXPECT_STREQ(copy.function(), "doIt:");
    EXPECT_EQ(copy.methodName(), u"doIt:"_s);
    EXPECT_EQ(copy.timestamp(), original.timestamp());
    EXPECT_EQ(copy.tag(), u"tag"_s);
    EXPECT_EQ(copy.lineNumber(), 7);
    EXPECT_EQ(copy.options(), QLXLogMessage::CopyFunction);
}
