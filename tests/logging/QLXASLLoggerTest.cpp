#include "logging/QLXASLLogger.h"
#include "logging/QLXLog.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

using namespace Qt::StringLiterals;

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
    logger.logMessage(record(QLXLogFlagError, u"e \u00e9"_s));
    logger.logMessage(record(QLXLogFlagWarn, u"w"_s));
    logger.logMessage(record(QLXLogFlagInfo, u"i"_s));
    logger.logMessage(record(QLXLogFlagDebug, u"d"_s));
    logger.logMessage(record(QLXLogFlagVerbose, u"v"_s));
    logger.logMessage(record(3, u"mixed"_s));
    const std::vector<std::pair<int, QByteArray>> expected = {
        {1, "e \xc3\xa9"}, {2, "w"}, {3, "i"}, {4, "d"}, {5, "v"}, {5, "mixed"}};
    EXPECT_EQ(sink->entries, expected);
}

TEST(QLXASLLoggerTest, SkipsRecordsTaggedToBeIgnored)
{
    auto sink = std::make_shared<RecordingSink>();
    QLXASLLogger logger(sink);
    logger.logMessage(record(QLXLogFlagError, u"hidden"_s, QLXASLLogger::ignoreLogMessageTag));
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
        logger->logMessage(record(QLXLogFlagInfo, u"quiet"_s));
        logger->logMessage(record(QLXLogFlagInfo, QString()));
    });
    const std::vector<std::pair<int, QByteArray>> expected = {{3, "QUIET"}};
    EXPECT_EQ(sink->entries, expected);
}

TEST(QLXASLLoggerTest, SharedInstanceIsOneLoggerWithItsName)
{
    EXPECT_EQ(QLXASLLogger::sharedInstance(), QLXASLLogger::sharedInstance());
    EXPECT_EQ(QLXASLLogger::sharedInstance()->loggerName(), u"cocoa.lumberjack.aslLogger"_s);
    EXPECT_EQ(QLXASLLogger::sharedInstance()->loggerQueue()->label(), "cocoa.lumberjack.aslLogger");
}

} // namespace
