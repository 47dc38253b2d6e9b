#include "support/RecordingLogger.h"

#include "support/ConsoleCapture.h"

#include "logging/QLXLogMacros.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <semaphore>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

class QLXLogTest : public testing::Test
{
protected:
    void TearDown() override
    {
        QLXLog::removeAllLoggers();
        QLXLog::flushLog();
    }

    static std::shared_ptr<RecordingLogger> addRecorder(int level = QLXLogLevelVerbose)
    {
        auto logger = std::make_shared<RecordingLogger>();
        QLXLog::addLogger(logger, level);
        return logger;
    }
};

int evaluations = 0;
int countedEvaluation()
{
    return ++evaluations;
}

TEST_F(QLXLogTest, MaskedCallsEvaluateNothing)
{
    constexpr int qlxLogLevel = QLXLogLevelWarn;
    auto logger = addRecorder();
    evaluations = 0;
    QLXLogInfo("info %d", countedEvaluation());
    QLXLogVerbose("verbose %d", countedEvaluation());
    QLXLogWarn("warn %d", countedEvaluation());
    QLXLog::flushLog();
    EXPECT_EQ(evaluations, 1);
    EXPECT_EQ(logger->texts(), QStringList{u"warn 1"_s});
}

TEST_F(QLXLogTest, ErrorsAreDeliveredBeforeTheCallReturns)
{
    constexpr int qlxLogLevel = QLXLogLevelVerbose;
    auto slow = addRecorder();
    slow->onMessage = [](const QLXLogMessage &) { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
    auto other = addRecorder();
    for (int i = 0; i < 3; ++i) {
        QLXLogError("DB > sync > could not list db %@", u"/x"_s);
        EXPECT_EQ(slow->texts().size(), i + 1);
        EXPECT_EQ(other->texts().size(), i + 1);
    }
    EXPECT_EQ(slow->texts().first(), u"DB > sync > could not list db /x"_s);
}

TEST_F(QLXLogTest, LoggersGetTheFlagsTheirMaskAdmitsInOrder)
{
    constexpr int qlxLogLevel = QLXLogLevelVerbose;
    auto errorsOnly = addRecorder(QLXLogLevelError);
    auto everything = addRecorder();
    QLXLogVerbose("v");
    QLXLogInfo("i");
    QLXLogWarn("w");
    QLXLogError("e");
    QLXLog::flushLog();
    EXPECT_EQ(errorsOnly->texts(), QStringList{u"e"_s});
    EXPECT_EQ(everything->texts(), (QStringList{u"v"_s, u"i"_s, u"w"_s,
                                                 u"e"_s}));
    EXPECT_GE(everything->flushes(), 1);
}

TEST_F(QLXLogTest, ALoggerAddedTwiceHearsTwiceUntilRemovedOnce)
{
    constexpr int qlxLogLevel = QLXLogLevelVerbose;
    auto logger = std::make_shared<RecordingLogger>();
    QLXLog::addLogger(logger);
    QLXLog::addLogger(logger);
    QLXLog::removeLogger(std::make_shared<RecordingLogger>());
    QLXLogError("twice");
    QLXLog::removeLogger(logger);
    QLXLogError("once");
    EXPECT_EQ(logger->texts(), (QStringList{u"twice"_s, u"twice"_s, u"once"_s}));
    EXPECT_EQ(QLXLog::allLoggers().size(), 1u);
}

TEST_F(QLXLogTest, TheThousandAndFirstUnfinishedRecordWaitsAndNoneIsLost)
{
    constexpr int qlxLogLevel = QLXLogLevelVerbose;
    auto logger = addRecorder();
    // The first record stays in delivery until the gate opens.
    std::binary_semaphore gate(0);
    std::atomic<bool> firstDelivered = false;
    logger->onMessage = [&](const QLXLogMessage &) {
        if (!firstDelivered) {
            gate.acquire();
            firstDelivered = true;
        }
    };
    std::binary_semaphore thousandReturned(0);
    std::atomic<bool> lastReturnedAfterFirstDelivery = false;
    std::thread caller([&] {
        for (int i = 0; i < 1000; ++i)
            QLXLogInfo("record %d", i);
        thousandReturned.release();
        QLXLogInfo("record %d", 1000);
        lastReturnedAfterFirstDelivery = firstDelivered.load();
    });
    // The first record sits in delivery, 999 wait behind it: 1000 calls return, the 1001st can
    // return only once a delivery has finished, that is after the gate opens.
    const bool thousandReturnedWhileBlocked = thousandReturned.try_acquire_for(std::chrono::seconds(20));
    gate.release();
    caller.join();
    EXPECT_TRUE(thousandReturnedWhileBlocked);
    EXPECT_TRUE(lastReturnedAfterFirstDelivery);

    QLXLog::flushLog();
    const QStringList texts = logger->texts();
    ASSERT_EQ(texts.size(), 1001);
    EXPECT_EQ(texts.last(), u"record 1000"_s);
}

TEST_F(QLXLogTest, LoggingFromInsideALoggerGoesStraightToStandardError)
{
    constexpr int qlxLogLevel = QLXLogLevelVerbose;
    lexi::test::ConsoleCapture console;
    auto logger = addRecorder();
    logger->onMessage = [](const QLXLogMessage &message) {
        if (message.logMsg() == u"outer")
            QLXLogError("inner");
    };
    QLXLogError("outer");
    QLXLog::loggingQueue().sync([] { QLXLogError("from the logging queue"); });
    EXPECT_EQ(logger->texts(), QStringList{u"outer"_s});
    EXPECT_EQ(console.lines(), (QStringList{u"inner"_s, u"from the logging queue"_s}));
}

class LoggingFormatter final : public QLXLogFormatter
{
public:
    std::optional<QString> formatLogMessage(const QLXLogMessage &message) override { return message.logMsg(); }
    void didAddToLogger(QLXLogger &) override
    {
        constexpr int qlxLogLevel = QLXLogLevelVerbose;
        QLXLogError("formatter added");
    }
};

TEST_F(QLXLogTest, NothingOnALoggersQueueWaitsForTheDispatcher)
{
    constexpr int qlxLogLevel = QLXLogLevelVerbose;
    lexi::test::ConsoleCapture console;
    auto logger = addRecorder();
    auto other = addRecorder();
    std::optional<std::size_t> loggersSeenInside;
    logger->onMessage = [&](const QLXLogMessage &) {
        loggersSeenInside = QLXLog::allLoggers().size();
        other->logFormatter();
    };
    logger->setLogFormatter(std::make_shared<LoggingFormatter>());
    EXPECT_TRUE(logger->logFormatter());
    QLXLogError("delivered");
    QLXLog::flushLog();

    EXPECT_EQ(logger->texts(), QStringList{u"delivered"_s});
    EXPECT_EQ(loggersSeenInside, 0u);
    EXPECT_TRUE(console.lines().contains(u"formatter added"_s));
}

TEST_F(QLXLogTest, RecordsKnowWhereTheyCameFrom)
{
    constexpr int qlxLogLevel = QLXLogLevelVerbose;
    auto logger = addRecorder();
    std::optional<QLXLogMessage> seen;
    logger->onMessage = [&](const QLXLogMessage &message) { seen.emplace(message); };
    const int line = __LINE__ + 1;
    QLXLogError("here");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->fileName(), u"QLXLogTest"_s);
    EXPECT_EQ(seen->methodName(), QString::fromUtf8(__func__));
    EXPECT_EQ(seen->lineNumber(), line);
    EXPECT_EQ(seen->logFlag(), QLXLogFlagError);
    EXPECT_EQ(seen->logLevel(), QLXLogLevelVerbose);
    EXPECT_EQ(seen->logContext(), 0);
    EXPECT_EQ(seen->options(), 0);
}

TEST_F(QLXLogTest, FlushWithoutLoggersReturns)
{
    QLXLog::flushLog();
    EXPECT_TRUE(QLXLog::allLoggers().empty());
}

} // namespace
