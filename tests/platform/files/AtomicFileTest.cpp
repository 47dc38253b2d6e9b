#include "platform/files/AtomicFile.h"
#include "platform/files/FileMoveHook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using lexi::AnyFile;
using lexi::NoFile;
using lexi::WriteExpectation;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void put(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

// Every entry of the folder, hidden ones too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(AtomicFileTest, WritesOnlyWhatTheExpectationAllows)
{
    enum class Before { nothing, file, changedFile };
    struct Case
    {
        const char *name;
        Before before;
        // A stamp is that of the file as it was first written.
        bool expectStamp;
        bool expectNothing;
        bool succeeds;
    };
    const Case cases[] = {
        {"any, new", Before::nothing, false, false, true},
        {"any, replacing", Before::file, false, false, true},
        {"nothing there, new", Before::nothing, false, true, true},
        {"nothing there, but a file", Before::file, false, true, false},
        {"same stamp", Before::file, true, false, true},
        {"stamp of a file changed since", Before::changedFile, true, false, false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"French - English.qlxv"_s);
        std::optional<lexi::FileStamp> firstStamp;
        if (test.before != Before::nothing) {
            put(path, "old");
            firstStamp = lexi::fileStamp(path);
            ASSERT_TRUE(firstStamp);
        }
        if (test.before == Before::changedFile)
            put(path, "changed by someone else");
        const QByteArray before = contents(path);

        WriteExpectation expected = AnyFile();
        if (test.expectNothing)
            expected = NoFile();
        if (test.expectStamp)
            expected = *firstStamp;
        const lexi::Result<> written = lexi::writeFileAtomically(path, "new", expected);

        EXPECT_EQ(bool(written), test.succeeds) << written.error().toStdString();
        EXPECT_EQ(written.error().isEmpty(), test.succeeds);
        EXPECT_EQ(contents(path), test.succeeds ? QByteArray("new") : before);
        // No temporary file stays behind either way.
        EXPECT_EQ(entries(folder.path()), QStringList{u"French - English.qlxv"_s});
    }
}

TEST(AtomicFileTest, NamesAsLongAsTheFileSystemAllowsCanBeWritten)
{
    QTemporaryDir folder;
    // 250 bytes: each "é" takes two.
    const QString name = QString(122, u'\u00e9') + u"x.qlxv"_s;
    ASSERT_EQ(QFile::encodeName(name).size(), 250);
    const QString path = folder.filePath(name);
    EXPECT_TRUE(lexi::writeFileAtomically(path, "new", NoFile()));
    EXPECT_TRUE(lexi::writeFileAtomically(path, "newer"));
    EXPECT_EQ(contents(path), QByteArray("newer"));
    EXPECT_EQ(entries(folder.path()), QStringList{name});
}

TEST(AtomicFileTest, FailsWithoutTheFolderAndLeavesNothing)
{
    QTemporaryDir folder;
    const lexi::Result<> written = lexi::writeFileAtomically(folder.filePath(u"missing/file.qlxv"_s), "data");
    EXPECT_FALSE(written);
    EXPECT_FALSE(written.error().isEmpty());
    EXPECT_TRUE(entries(folder.path()).isEmpty());
}

TEST(AtomicFileTest, NewFilesGetTheUsualPermissionsAndReplacementsKeepTheirs)
{
    QTemporaryDir folder;
    const mode_t previous = ::umask(022);
    const QString created = folder.filePath(u"new.qlxv"_s);
    ASSERT_TRUE(lexi::writeFileAtomically(created, "new"));
    const QString replaced = folder.filePath(u"private.qlxv"_s);
    put(replaced, "old");
    ::chmod(QFile::encodeName(replaced).constData(), 0640);
    ASSERT_TRUE(lexi::writeFileAtomically(replaced, "new"));
    ::umask(previous);

    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(created).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);
    ASSERT_EQ(::stat(QFile::encodeName(replaced).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(AtomicFileTest, StampTellsFilesApartAndIgnoresFolders)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"a.qlxv"_s);
    EXPECT_FALSE(lexi::fileStamp(path));
    EXPECT_FALSE(lexi::fileStamp(folder.path()));

    put(path, "12345");
    const auto first = lexi::fileStamp(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 5);
    EXPECT_EQ(lexi::fileStamp(path), first);

    // Replaced by a file of the same size: a new file all the same.
    ASSERT_TRUE(lexi::writeFileAtomically(path, "54321"));
    const auto replaced = lexi::fileStamp(path);
    ASSERT_TRUE(replaced);
    EXPECT_NE(replaced, first);
    EXPECT_EQ(replaced->size, 5);
}

} // namespace

namespace {

// How the program's writers replace a vocabulary file: the saver puts its file in place whatever
// stands there; the synchronisation replaces, or moves aside, only the file it has read.
enum class Move { save, replaceIfUnchanged, moveAsideIfUnchanged };

lexi::Result<> make(Move move, const QString &path, const QString &aside, const lexi::FileStamp &read)
{
    switch (move) {
    case Move::save:
        return lexi::writeFileAtomically(path, "saved");
    case Move::replaceIfUnchanged:
        return lexi::writeFileAtomically(path, "merged", read);
    case Move::moveAsideIfUnchanged:
        return lexi::moveFileIfUnchanged(path, aside, read);
    }
    return lexi::Result<>::failure(u"unknown move"_s);
}

TEST(AtomicFileTest, AMoveBetweenAnotherOnesCheckAndRenameWaitsAndNoSaveIsLost)
{
    struct Case
    {
        const char *name;
        // Stopped between its check and its rename, while the second starts on another thread.
        Move first;
        Move second;
        bool secondSucceeds;
        // What the second finds at the path once it may rename; nothing when its check fails.
        std::optional<QByteArray> foundBySecond;
        QByteArray movedAside;
    };
    const Case cases[] = {
        {"a save while the file is replaced", Move::replaceIfUnchanged, Move::save, true, "merged", "<missing>"},
        {"a save while the file is moved aside", Move::moveAsideIfUnchanged, Move::save, true, "<missing>", "old"},
        {"a replacement while a save moves", Move::save, Move::replaceIfUnchanged, false, std::nullopt, "<missing>"},
        {"a move aside while a save moves", Move::save, Move::moveAsideIfUnchanged, false, std::nullopt, "<missing>"},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"French - English.qlxv"_s);
        const QString aside = folder.filePath(u"French - English-backup.qlxv"_s);
        put(path, "old");
        const std::optional<lexi::FileStamp> read = lexi::fileStamp(path);
        ASSERT_TRUE(read);

        bool firstHeldOthersOff = false;
        std::thread second;
        lexi::Result<> secondResult;
        std::optional<QByteArray> foundBySecond;
        int moves = 0;
        // Runs under the lock, so one call at a time.
        lexi::setFileMoveHook([&](const QString &) {
            if (++moves == 1) {
                std::thread([&] { firstHeldOthersOff = !lexi::fileMoveCanStartNow(); }).join();
                second = std::thread([&] { secondResult = make(test.second, path, aside, *read); });
            } else {
                foundBySecond = contents(path);
            }
        });
        const lexi::Result<> firstResult = make(test.first, path, aside, *read);
        ASSERT_TRUE(second.joinable());
        second.join();
        lexi::setFileMoveHook({});

        EXPECT_TRUE(firstResult) << firstResult.error().toStdString();
        EXPECT_TRUE(firstHeldOthersOff);
        EXPECT_EQ(bool(secondResult), test.secondSucceeds) << secondResult.error().toStdString();
        EXPECT_EQ(foundBySecond, test.foundBySecond);
        // The save comes last either way, or the other side leaves it alone.
        EXPECT_EQ(contents(path), "saved");
        EXPECT_EQ(contents(aside), test.movedAside);
        QStringList left = entries(folder.path());
        left.removeOne(QFileInfo(aside).fileName());
        EXPECT_EQ(left, QStringList{QFileInfo(path).fileName()});
    }
}

TEST(AtomicFileTest, MovesAsideOnlyAnUnchangedFileAndNeverOntoAnother)
{
    struct Case
    {
        const char *name;
        bool changedSince;
        bool asideTaken;
        bool succeeds;
    };
    const Case cases[] = {
        {"unchanged", false, false, true},
        {"changed since it was read", true, false, false},
        {"the new name is taken", false, true, false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"French - English.qlxv"_s);
        const QString aside = folder.filePath(u"aside.qlxv"_s);
        put(path, "read");
        const std::optional<lexi::FileStamp> read = lexi::fileStamp(path);
        ASSERT_TRUE(read);
        if (test.changedSince) {
            ASSERT_TRUE(lexi::writeFileAtomically(path, "saved since"));
        }
        if (test.asideTaken)
            put(aside, "another file");
        const QByteArray before = contents(path);
        const QByteArray asideBefore = contents(aside);

        const lexi::Result<> moved = lexi::moveFileIfUnchanged(path, aside, *read);

        EXPECT_EQ(bool(moved), test.succeeds) << moved.error().toStdString();
        EXPECT_EQ(moved.error().isEmpty(), test.succeeds);
        EXPECT_EQ(contents(path), test.succeeds ? QByteArray("<missing>") : before);
        EXPECT_EQ(contents(aside), test.succeeds ? before : asideBefore);
    }
}

TEST(AtomicFileTest, RemovesOnlyOurOwnTemporaryFilesThatWereLeftForMinutes)
{
    QTemporaryDir folder;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    struct Case
    {
        QString name;
        int minutesOld;
        bool removed;
    };
    const Case cases[] = {
        {u"~syncthing~lexicarta-1x2y3z.tmp"_s, 10, true},
        {u".~lexicarta.a1b2c3"_s, 10, true},
        {u"~syncthing~lexicarta-4d5e6f.tmp"_s, 1, false},
        {u"French - English.qlxv"_s, 10, false},
        {u"~syncthing~French - English.qlxv.tmp"_s, 10, false},
        {u".syncthing.French - English.qlxv.tmp"_s, 10, false},
        {u"~lexicarta-1x2y3z.tmp"_s, 10, false},
    };
    QStringList removed;
    QStringList kept;
    for (const Case &test : cases) {
        const QString path = folder.filePath(test.name);
        put(path, "data");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(now.addSecs(-60 * test.minutesOld), QFileDevice::FileModificationTime));
        (test.removed ? removed : kept).append(test.name);
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"~syncthing~lexicarta-folder.tmp"_s));
    kept.append(u"~syncthing~lexicarta-folder.tmp"_s);

    QStringList result =
        lexi::removeStaleTemporaryFiles(folder.path(), lexi::Date::fromDateTime(now).addingSeconds(-300));
    result.sort();
    removed.sort();
    kept.sort();
    EXPECT_EQ(result, removed);
    EXPECT_EQ(entries(folder.path()), kept);
}

} // namespace
