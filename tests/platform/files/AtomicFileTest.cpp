#include "platform/files/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
