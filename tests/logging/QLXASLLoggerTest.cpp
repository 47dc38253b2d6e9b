#include "logging/QLXASLLogger.h"
#include "logging/QLXLog.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace {

class RecordingSink final : public SystemLogSink
{
public:
    void write(int priority, const QByteArray &utf8Text) override
    {
        std::lock_guard lock(mutex);
        entries.emplace_back(priority, utf8Text);
    }

    std::mutex mutex;
    std::vector<std::pair<int, QByteArray>> entries;
};

QLXLogMessage record(int flag, const QString &text, const QString &tag = {})
{
    return QLXLogMessage(text, 31, flag, 0, __FILE__, "test", __LINE__, tag, 0);
}

TEST(QLXASLLoggerTest, WritesEachFlagAtItsSystemLogLevel)
{
    auto sink = std::make_shared<RecordingSink>();
    QLXASLLogger logger(sink);
    logger.logMessage(record(QLXLogFlagError, QStringLiteral("e \u00e9")));
    logger.logMessage(record(QLXLogFlagWarn, QStringLiteral("w")));
    logger.logMessage(record(QLXLogFlagInfo, QStringLiteral("i")));
    logger.logMessage(record(QLXLogFlagDebug, QStringLiteral("d")));
    logger.logMessage(record(QLXLogFlagVerbose, QStringLiteral("v")));
    logger.logMessage(record(3, QStringLiteral("mixed")));
    const std::vector<std::pair<int, QByteArray>> expected = {
        {1, "e \xc3\xa9"}, {2, "w"}, {3, "i"}, {4, "d"}, {5, "v"}, {5, "mixed"}};
    EXPECT_EQ(sink->entries, expected);
}

TEST(QLXASLLoggerTest, SkipsRecordsTaggedToBeIgnored)
{
    auto sink = std::make_shared<RecordingSink>();
    QLXASLLogger logger(sink);
    logger.logMessage(record(QLXLogFlagError, QStringLiteral("hidden"), QLXASLLogger::ignoreLogMessageTag));
    EXPECT_TRUE(sink->entries.empty());
}

class UpperCaseFormatter final : public QLXLogFormatter
{
public:
    std::optional<QString> formatLogMessage(const QLXLogMessage &message) override
    {
        if (message.logMsg().isEmpty())
            return std::nullopt;
        return message.logMsg().toUpper();
    }
};

TEST(QLXASLLoggerTest, WritesWhatItsFormatterMakesAndDropsWhatItRefuses)
{
    auto sink = std::make_shared<RecordingSink>();
    auto logger = std::make_shared<QLXASLLogger>(sink);
    logger->setLogFormatter(std::make_shared<UpperCaseFormatter>());
    EXPECT_TRUE(logger->logFormatter());
    logger->loggerQueue()->sync([&] {
        logger->logMessage(record(QLXLogFlagInfo, QStringLiteral("quiet")));
        logger->logMessage(record(QLXLogFlagInfo, QString()));
    });
    const std::vector<std::pair<int, QByteArray>> expected = {{3, "QUIET"}};
    EXPECT_EQ(sink->entries, expected);
}

TEST(QLXASLLoggerTest, SharedInstanceIsOneLoggerWithItsName)
{
    EXPECT_EQ(QLXASLLogger::sharedInstance(), QLXASLLogger::sharedInstance());
    EXPECT_EQ(QLXASLLogger::sharedInstance()->loggerName(), QStringLiteral("cocoa.lumberjack.aslLogger"));
    EXPECT_EQ(QLXASLLogger::sharedInstance()->loggerQueue()->label(), "cocoa.lumberjack.aslLogger");
}

} // namespace
