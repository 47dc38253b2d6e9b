#include "LogFolder.h"

#include "support/ConsoleCapture.h"
#include "support/FakeClock.h"
#include "support/ManualScheduler.h"

#include "logging/LogFileName.h"
#include "logging/QLXFileLogger.h"
#include "logging/QLXLogFileFormatterDefault.h"
#include "logging/QLXLogFileManagerDefault.h"
#include "logging/QLXLogMacros.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <semaphore>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::test::LogFolder;

namespace {

// Tells the test when the logger has rolled a file.
class RollRecordingManager final : public QLXLogFileManagerDefault
{
public:
    using QLXLogFileManagerDefault::QLXLogFileManagerDefault;

    void didRollAndArchiveLogFile(const QString &) override { rolls.release(); }

    // Waits for a roll that happens on its own (the watch of the file); the limit only keeps a
    // broken test from hanging.
    bool waitForRoll() { return rolls.try_acquire_for(10s); }

private:
    std::counting_semaphore<64> rolls{0};
};

QLXLogMessage record(const QString &text)
{
    const auto time = QDateTime(QDate(2014, 6, 4), QTime(14, 6, 34, 123), QTimeZone::utc());
    return QLXLogMessage(text, QLXLogLevelVerbose, QLXLogFlagInfo, 0, __FILE__, "test", __LINE__, QString(), 0,
                         lexi::Date::fromDateTime(time));
}

// The line the default formatter makes of `text` (the tests run with TZ=UTC).
QByteArray line(const char *text)
{
    return "2014/06/04 14:06:34:123  " + QByteArray(text) + '\n';
}

class QLXFileLoggerTest : public testing::Test
{
protected:
    std::shared_ptr<QLXFileLogger> makeLogger(std::shared_ptr<QLXLogFileManager> manager)
    {
        return std::make_shared<QLXFileLogger>(std::move(manager), scheduler, clock);
    }

    static void log(QLXFileLogger &logger, const QString &text)
    {
        logger.loggerQueue()->sync([&] { logger.logMessage(record(text)); });
    }

    // Waits until the property changes and requests made so far have reached the logger.
    static void settle(QLXFileLogger &logger)
    {
        QLXLog::loggingQueue().sync([] {});
        logger.loggerQueue()->sync([] {});
    }

    QList<QLXLogFileInfo> files() const
    {
        const auto infos = manager->sortedLogFileInfos();
        return QList<QLXLogFileInfo>(infos.begin(), infos.end());
    }

    QString newestPath() const
    {
        const auto infos = files();
        return infos.isEmpty() ? QString() : infos.first().filePath();
    }

    LogFolder folder;
    // The real time, so that the files' birth times and the logger's clock agree.
    lexi::test::FakeClock clock{lexi::Clock::system().now()};
    lexi::test::ManualScheduler scheduler{clock};
    std::shared_ptr<RollRecordingManager> manager = std::make_shared<RollRecordingManager>(folder.path(), clock);
    std::shared_ptr<QLXFileLogger> logger = makeLogger(manager);
};

TEST_F(QLXFileLoggerTest, WritesEachRecordAsATimeStampedLine)
{
    log(*logger, u"abc"_s);
    log(*logger, u"ends with newline\n"_s);
    ASSERT_EQ(files().size(), 1);
    EXPECT_EQ(LogFolder::read(newestPath()), line("abc") + line("ends with newline"));
    EXPECT_EQ(logger->loggerName(), u"cocoa.lumberjack.fileLogger"_s);
}

// The fraction of the millisecond is dropped, never rounded into the next second.
TEST(QLXLogFileFormatterDefaultTest, DropsTheFractionOfTheMillisecond)
{
    const QDateTime time(QDate(2014, 6, 4), QTime(14, 6, 34, 999), QTimeZone::utc());
    const lexi::Date lateInTheSecond =
        lexi::Date::fromSecondsSince1970(lexi::Date::fromDateTime(time).secondsSince1970() + 0.0006);
    const QLXLogMessage late(u"late"_s, QLXLogLevelVerbose, QLXLogFlagInfo, 0, __FILE__, "test", __LINE__, QString(), 0,
                             lateInTheSecond);
    EXPECT_EQ(QLXLogFileFormatterDefault().formatLogMessage(late), u"2014/06/04 14:06:34:999  late"_s);
}

TEST_F(QLXFileLoggerTest, ARecordThatFillsTheFileIsWrittenThenTheFileRolls)
{
    logger->setMaximumFileSize(quint64(2 * line("aaa").size()));
    settle(*logger);
    EXPECT_EQ(logger->maximumFileSize(), quint64(2 * line("aaa").size()));

    log(*logger, u"aaa"_s);
    log(*logger, u"bbb"_s);
    log(*logger, u"ccc"_s);
    const auto infos = files();
    ASSERT_EQ(infos.size(), 2);
    EXPECT_EQ(LogFolder::read(infos[1].filePath()), line("aaa") + line("bbb"));
    EXPECT_TRUE(infos[1].isArchived());
    EXPECT_EQ(LogFolder::read(infos[0].filePath()), line("ccc"));
    EXPECT_FALSE(infos[0].isArchived());
}

TEST_F(QLXFileLoggerTest, ARestartTakesUpTheNewestFileOnlyWhenItIsStillOpenForWriting)
{
    const struct
    {
        const char *name;
        bool archived;
        quint64 maximumFileSize;
        bool doNotReuse;
        bool takenUp;
    } cases[] = {
        {"unarchived", false, 1048576, false, true},
        {"archived", true, 1048576, false, false},
        {"full", false, 5, false, false},
        {"reuse switched off", false, 1048576, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        LogFolder caseFolder;
        auto caseManager = std::make_shared<QLXLogFileManagerDefault>(caseFolder.path(), clock);
        const auto earlier = lexi::LogFileName{QLXLogFileManagerDefault::applicationName(), clock.now().addingSeconds(-60)};
        QLXLogFileInfo previous(caseFolder.make(earlier.toString(), "old line\n"));
        previous.setIsArchived(c.archived);

        auto restarted = makeLogger(caseManager);
        restarted->setMaximumFileSize(c.maximumFileSize);
        restarted->setDoNotReuseLogFiles(c.doNotReuse);
        settle(*restarted);
        log(*restarted, u"new"_s);

        const auto infos = caseManager->sortedLogFileInfos();
        if (c.takenUp) {
            ASSERT_EQ(infos.size(), 1u);
            EXPECT_EQ(LogFolder::read(previous.filePath()), "old line\n" + line("new"));
        } else {
            ASSERT_EQ(infos.size(), 2u);
            EXPECT_EQ(infos[0].fileName(), caseManager->newLogFileName());
            EXPECT_EQ(LogFolder::read(infos[0].filePath()), line("new"));
            EXPECT_EQ(LogFolder::read(previous.filePath()), "old line\n");
            EXPECT_EQ(previous.isArchived(), c.archived || c.maximumFileSize == 5);
        }
    }
}

TEST_F(QLXFileLoggerTest, TwoInstancesNeverWriteOneFile)
{
    auto second = makeLogger(std::make_shared<QLXLogFileManagerDefault>(folder.path(), clock));
    log(*logger, u"first"_s);
    log(*second, u"second"_s);
    log(*logger, u"first again"_s);
    const auto infos = files();
    ASSERT_EQ(infos.size(), 2);
    EXPECT_EQ(LogFolder::read(infos[1].filePath()), line("first") + line("first again"));
    EXPECT_EQ(LogFolder::read(infos[0].filePath()), line("second"));
}

TEST_F(QLXFileLoggerTest, ACurrentFileThatIsDeletedRenamedOrReplacedIsRolled)
{
    const auto elsewhere = lexi::LogFileName{QLXLogFileManagerDefault::applicationName(),
                                             clock.now().addingSeconds(-3600)}.toString();
    const struct
    {
        const char *name;
        std::function<bool(const QString &path)> takeAway;
    } cases[] = {
        {"deleted", [](const QString &path) { return QFile::remove(path); }},
        {"replaced",
         [&](const QString &path) {
             const QString replacement = folder.make(u"replacement"_s);
             return ::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(path).constData()) == 0;
         }},
        {"renamed", [&](const QString &path) { return QFile::rename(path, folder.filePath(elsewhere)); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        log(*logger, u"before"_s);
        const QString path = newestPath();
        ASSERT_TRUE(c.takeAway(path));
        ASSERT_TRUE(manager->waitForRoll());

        log(*logger, u"after"_s);
        EXPECT_EQ(newestPath(), path);
        EXPECT_EQ(LogFolder::read(path), line("after"));
        logger->rollLogFile();
        settle(*logger);
        ASSERT_TRUE(manager->waitForRoll());
    }
    // The renamed file was marked through its descriptor, under its new name.
    QLXLogFileInfo renamed(folder.filePath(elsewhere));
    EXPECT_TRUE(renamed.isArchived());
    EXPECT_EQ(LogFolder::read(renamed.filePath()), line("before"));
}

TEST_F(QLXFileLoggerTest, AFileRollsWhenItReachesTheRollingFrequency)
{
    logger->setRollingFrequency(120);
    settle(*logger);
    EXPECT_EQ(logger->rollingFrequency(), 120);

    log(*logger, u"first"_s);
    const QString first = newestPath();
    const auto created = QLXLogFileInfo(first).creationDate();
    ASSERT_TRUE(created);
    const auto untilDue = std::chrono::milliseconds(qint64(created->addingSeconds(120).secondsSince(clock.now()) * 1000));

    scheduler.advance(untilDue - 1s);
    settle(*logger);
    EXPECT_FALSE(QLXLogFileInfo(first).isArchived());
    log(*logger, u"second"_s);

    scheduler.advance(2s);
    settle(*logger);
    EXPECT_TRUE(QLXLogFileInfo(first).isArchived());
    log(*logger, u"third"_s);
    EXPECT_EQ(LogFolder::read(first), line("first") + line("second"));
    EXPECT_NE(newestPath(), first);
    EXPECT_EQ(LogFolder::read(newestPath()), line("third"));
}

TEST_F(QLXFileLoggerTest, RollsOnRequestAndWhenRemovedFromTheDispatcher)
{
    log(*logger, u"requested"_s);
    const QString requested = newestPath();
    bool completed = false;
    logger->rollLogFile([&] { completed = true; });
    settle(*logger);
    QCoreApplication::processEvents();
    EXPECT_TRUE(completed);
    EXPECT_TRUE(QLXLogFileInfo(requested).isArchived());

    constexpr int qlxLogLevel = QLXLogLevelError;
    QLXLog::addLogger(logger);
    QLXLogError("removed");
    const QString removed = newestPath();
    EXPECT_NE(removed, requested);
    QLXLog::removeLogger(logger);
    settle(*logger);
    EXPECT_TRUE(QLXLogFileInfo(removed).isArchived());
    EXPECT_TRUE(LogFolder::read(removed).endsWith("  removed\n"));
}

// Hands out a device that is always full.
class FullDeviceManager final : public QLXLogFileManager
{
public:
    std::vector<QLXLogFileInfo> sortedLogFileInfos() override { return {}; }
    std::optional<QString> createNewLogFile() override { return u"/dev/full"_s; }
};

TEST_F(QLXFileLoggerTest, OnlyTheFirstTenWriteFailuresAreReported)
{
    auto full = makeLogger(std::make_shared<FullDeviceManager>());
    lexi::test::ConsoleCapture console;
    for (int i = 0; i < 12; ++i)
        log(*full, u"lost"_s);
    QStringList expected(10, u"QLXFileLogger.logMessage: write(/dev/full): No space left on device"_s);
    expected.append(u"QLXFileLogger.logMessage: Too many exceptions -- will not log any more of them."_s);
    EXPECT_EQ(console.lines(), expected);
}

} // namespace
