#include "logging/QLXLogFlags.h"
#include "logging/QLXLogMessage.h"

#include <gtest/gtest.h>

TEST(QLXLogMessageTest, BaseNameStopsAtTheLastDotAfterTheLastSlash)
{
    EXPECT_EQ(QLXBaseNameOfPath("/src/app/Main.txt"), QStringLiteral("Main"));
    EXPECT_EQ(QLXBaseNameOfPath("Makefile"), QStringLiteral("Makefile"));
    EXPECT_EQ(QLXBaseNameOfPath("/a.b/c"), QStringLiteral("c"));
    EXPECT_EQ(QLXBaseNameOfPath("archive.tar.gz"), QStringLiteral("archive.tar"));
    EXPECT_FALSE(QLXBaseNameOfPath(nullptr));
}

TEST(QLXLogMessageTest, ThreadIDIsLowercaseHexadecimal)
{
    const QLXLogMessage message(QStringLiteral("abc"), 31, QLXLogFlagInfo, 0, "f.cpp", "fn", 1, QString(), 0,
                                std::nullopt, {0x1a03, "queue", QStringLiteral("thread")});
    EXPECT_EQ(message.threadID(), QStringLiteral("1a03"));
    EXPECT_EQ(message.queueLabel(), "queue");
}

TEST(QLXLogMessageTest, CopiesDuplicateOnlyTheNamesTheirOptionsOwn)
{
    std::string file = "/src/File.cpp";
    std::string function = "doIt:";
    const QLXLogMessage original(QStringLiteral("text"), 31, QLXLogFlagWarn, 0, file.c_str(), function.c_str(), 7,
                                 QStringLiteral("tag"), QLXLogMessage::CopyFunction,
                                 lexi::Date::fromSecondsSinceReferenceDate(1.5));
    const QLXLogMessage copy(original);

    EXPECT_EQ(original.file(), file.c_str());
    EXPECT_EQ(copy.file(), file.c_str());
    EXPECT_NE(original.function(), function.c_str());
    EXPECT_NE(copy.function(), original.function());
    function = "changed";
    EXPECT_STREQ(copy.function(), "doIt:");
    EXPECT_EQ(copy.methodName(), QStringLiteral("doIt:"));
    EXPECT_EQ(copy.timestamp(), original.timestamp());
    EXPECT_EQ(copy.tag(), QStringLiteral("tag"));
    EXPECT_EQ(copy.lineNumber(), 7);
    EXPECT_EQ(copy.options(), QLXLogMessage::CopyFunction);
}
