#include "LogFolder.h"

#include "support/ConsoleCapture.h"
#include "support/FakeClock.h"

#include "logging/LogFileName.h"
#include "logging/QLXLog.h"
#include "logging/QLXLogFileManagerDefault.h"

#include <QDateTime>
#include <QDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <sys/xattr.h>
#include <utime.h>

using namespace Qt::StringLiterals;
using lexi::test::LogFolder;

namespace {

const QString &app()
{
    return QLXLogFileManagerDefault::applicationName();
}

lexi::Date gmt(int hours, int minutes, int seconds = 0)
{
    return lexi::Date::fromDateTime(QDateTime(QDate(2014, 6, 4), QTime(hours, minutes, seconds), QTimeZone::utc()));
}

QString logName(int hours, int minutes, unsigned counter = 1)
{
    return lexi::LogFileName{app(), gmt(hours, minutes), counter}.toString();
}

TEST(QLXLogFileManagerDefaultTest, OnlyDatedNamesOfThisApplicationAreLogFiles)
{
    LogFolder folder;
    const QLXLogFileManagerDefault manager(folder.path());
    const struct
    {
        QString name;
        bool isLogFile;
    } cases[] = {
        {app() + u" 2014-06-04 10-20.log"_s, true},
        {app() + u" 2014-06-04 10-20 2.log"_s, true},
        {app() + u" 2014-06-04 10-20 17.log"_s, true},
        {app() + u"Helper 2014-06-04 10-20.log"_s, false},
        {u"Other 2014-06-04 10-20.log"_s, false},
        {app() + u" 2014-06-04 10-20.txt"_s, false},
        {app() + u" 2014-06-04.log"_s, false},
        {app() + u" notes of the first week.log"_s, false},
        {app() + u" 2014-02-30 10-20.log"_s, false},
        {app() + u" 2014-06-04 24-00.log"_s, false},
        {app() + u" 2014-06-04 10-20 x.log"_s, false},
        {app() + u" 2014-06-04 10-20 1.log"_s, false},
        {app() + u" 2014-06-04 10-20 2 3.log"_s, false},
        {app() + u"  2014-06-04 10-20.log"_s, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(manager.isLogFile(c.name), c.isLogFile) << c.name.toStdString();
}

TEST(QLXLogFileManagerDefaultTest, NewFilesOfOneMinuteGetCounters)
{
    LogFolder folder;
    lexi::test::FakeClock clock(gmt(10, 20, 30));
    QLXLogFileManagerDefault manager(folder.path(), clock);
    EXPECT_EQ(manager.newLogFileName(), app() + u" 2014-06-04 10-20.log"_s);

    QStringList created;
    for (int i = 0; i < 3; ++i)
        created.append(manager.createNewLogFile().value_or(QString()));
    EXPECT_EQ(created, (QStringList{folder.filePath(logName(10, 20)), folder.filePath(logName(10, 20, 2)),
                                    folder.filePath(logName(10, 20, 3))}));

    // Whatever stands under a name, even a folder, makes it taken.
    clock.advance(std::chrono::seconds(30));
    ASSERT_TRUE(QDir(folder.path()).mkdir(logName(10, 21)));
    EXPECT_EQ(manager.createNewLogFile(), folder.filePath(logName(10, 21, 2)));
}

TEST(QLXLogFileManagerDefaultTest, PruningKeepsTheCurrentFileAndTheNewestArchivedOnes)
{
    LogFolder folder;
    auto manager = std::make_shared<QLXLogFileManagerDefault>(folder.path());
    // Oldest first, so that birth times and names agree.
    for (int minute = 1; minute <= 9; ++minute) {
        QLXLogFileInfo file(folder.make(logName(10, minute)));
        file.setIsArchived(minute < 9);
    }
    const QString notes = folder.make(app() + u" notes.log"_s);

    manager->deleteOldLogFiles();
    EXPECT_EQ(manager->sortedLogFileNames(), (QStringList{logName(10, 9), logName(10, 8), logName(10, 7),
                                                          logName(10, 6), logName(10, 5), logName(10, 4)}));

    manager->setMaximumNumberOfLogFiles(2);
    QLXLog::loggingQueue().sync([] {});
    EXPECT_EQ(manager->sortedLogFileNames(), (QStringList{logName(10, 9), logName(10, 8), logName(10, 7)}));

    manager->setMaximumNumberOfLogFiles(0);
    QLXLogFileInfo(folder.filePath(logName(10, 9))).setIsArchived(true);
    manager->deleteOldLogFiles();
    EXPECT_EQ(manager->sortedLogFileNames().size(), 3);
    EXPECT_TRUE(QFile::exists(notes));
}

TEST(QLXLogFileManagerDefaultTest, TheDefaultFolderLiesInTheUsersStateFolder)
{
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    const struct
    {
        QByteArray stateHome;
        QByteArray home;
        QString folder;
    } cases[] = {
        {"/state", "/home/learner", u"/state/"_s + app() + u"/Logs"_s},
        {"relative/state", "/home/learner", u"/home/learner/.local/state/"_s + app() + u"/Logs"_s},
        {"", "", QDir::tempPath() + u'/' + app() + u"/Logs"_s},
    };
    for (const auto &c : cases) {
        qputenv("XDG_STATE_HOME", c.stateHome);
        qputenv("HOME", c.home);
        EXPECT_EQ(QLXLogFileManagerDefault::defaultLogsDirectory(), c.folder);
    }
    qputenv("XDG_STATE_HOME", savedState);
    qputenv("HOME", savedHome);
}

TEST(QLXLogFileManagerDefaultTest, AFolderThatCannotBeMadeIsReportedOnce)
{
    LogFolder folder;
    const QString blocked = folder.make(u"file"_s) + u"/Logs"_s;
    QLXLogFileManagerDefault manager(blocked);
    lexi::test::ConsoleCapture console;
    EXPECT_EQ(manager.logsDirectory(), blocked);
    EXPECT_FALSE(manager.createNewLogFile());
    ASSERT_EQ(console.lines().size(), 1);
    EXPECT_TRUE(console.lines().first().startsWith(u"QLXFileLogManagerDefault: Error creating logsDirectory: "_s));

    QLXLogFileManagerDefault fine(folder.filePath(u"a/b/Logs"_s));
    EXPECT_TRUE(QFileInfo(fine.logsDirectory()).isDir());
}

TEST(QLXLogFileInfoTest, TheCreationDateIsNeverTheModificationTime)
{
    LogFolder folder;
    const QString path = folder.make(logName(10, 20), "12345");
    const utimbuf longAgo{0, 1000000000};
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &longAgo), 0);
    const QLXLogFileInfo info(path);
    // The birth time (now), or the time in the name where the file system keeps none.
    ASSERT_TRUE(info.creationDate());
    EXPECT_GE(*info.creationDate(), gmt(10, 20));
    EXPECT_EQ(info.fileSize(), 5u);
}

TEST(QLXLogFileInfoTest, RenamingMovesTheFileOrKeepsThePath)
{
    LogFolder folder;
    lexi::test::ConsoleCapture console;

    QLXLogFileInfo same(folder.make(u"same.log"_s, "s"));
    same.renameFile(u"same.log"_s);
    EXPECT_EQ(same.filePath(), folder.filePath(u"same.log"_s));

    QLXLogFileInfo moved(folder.make(u"a.log"_s, "a"));
    moved.renameFile(u"b.log"_s);
    EXPECT_EQ(moved.filePath(), folder.filePath(u"b.log"_s));
    EXPECT_EQ(LogFolder::read(moved.filePath()), "a");
    EXPECT_FALSE(QFile::exists(folder.filePath(u"a.log"_s)));

    QLXLogFileInfo replacing(folder.make(u"c.log"_s, "c"));
    replacing.renameFile(u"same.log"_s);
    EXPECT_EQ(LogFolder::read(folder.filePath(u"same.log"_s)), "c");
    EXPECT_TRUE(console.lines().isEmpty());

    QLXLogFileInfo missing(folder.filePath(u"missing.log"_s));
    missing.renameFile(u"found.log"_s);
    EXPECT_EQ(missing.filePath(), folder.filePath(u"missing.log"_s));
    EXPECT_EQ(console.lines(),
              QStringList{u"QLXLogFileInfo: Error renaming file (missing.log): No such file or directory"_s});
}

TEST(QLXLogFileInfoTest, TheArchivedMarkIsAUserAttribute)
{
    LogFolder folder;
    lexi::test::ConsoleCapture console;
    QLXLogFileInfo info(folder.make(logName(10, 20)));
    const QByteArray path = QFile::encodeName(info.filePath());
    EXPECT_FALSE(info.isArchived());
    info.setIsArchived(true);
    EXPECT_TRUE(info.isArchived());
    EXPECT_EQ(::getxattr(path.constData(), "user.lumberjack.log.archived", nullptr, 0), 0);
    info.setIsArchived(false);
    info.setIsArchived(false);
    EXPECT_FALSE(info.isArchived());
    EXPECT_TRUE(console.lines().isEmpty());
}

TEST(QLXLogFileInfoTest, FilesWithoutUserAttributesAreMarkedInMemory)
{
    lexi::test::ConsoleCapture console;
    // Devices may not carry user attributes.
    QLXLogFileInfo null(u"/dev/null"_s);
    QLXLogFileInfo zero(u"/dev/zero"_s);
    null.setIsArchived(true);
    zero.setIsArchived(true);
    EXPECT_TRUE(QLXLogFileInfo(u"/dev/null"_s).isArchived());
    EXPECT_TRUE(zero.isArchived());
    null.setIsArchived(false);
    EXPECT_FALSE(null.isArchived());
    EXPECT_EQ(console.lines(), QStringList{u"QLXLogFileInfo: /dev/null takes no extended attributes; archived log "
                                           u"files are remembered until the program ends"_s});
}

} // namespace
