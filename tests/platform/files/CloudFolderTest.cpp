#include "platform/files/CloudFolder.h"

#include "platform/files/Defaults.h"
#include "support/AddressSpaceLimit.h"
#include "support/FakeClock.h"
#include "support/ManualScheduler.h"
#include "support/NonRegularFiles.h"
#include "support/ScriptedFolderChooser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using lexi::CloudFolder;

namespace {

void put(const QString &path, const QByteArray &data, QIODevice::OpenMode mode = QIODevice::Truncate)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | mode)) << path.toStdString();
    file.write(data);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool isVocabulary(const QString &name)
{
    return name.endsWith(u".qlxv"_s);
}

class CloudFolderTest : public ::testing::Test
{
public:
    CloudFolderTest()
    {
        QDir().mkpath(folder);
        defaults.setString(lexi::Settings::cloudFolderPath.name, folder);
    }

    QString path(const QString &name) const { return folder + u'/' + name; }

    // Lets the watcher's notices in until one more change waits to settle; false when none came.
    bool waitForChangeNotice()
    {
        const std::size_t before = scheduler.pendingCount();
        const QDeadlineTimer deadline(std::chrono::seconds(10));
        while (scheduler.pendingCount() == before && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return scheduler.pendingCount() > before;
    }

    QTemporaryDir scratch;
    const QString folder = scratch.filePath(u"Dropbox/Apps/Lexicarta"_s);
    lexi::Defaults defaults{scratch.filePath(u"Lexicarta.conf"_s)};
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler{clock};
    CloudFolder cloud{defaults, scheduler};
};

TEST_F(CloudFolderTest, LinksTheChosenFolderAndSuggestsTheCloudClientsFolder)
{
    cloud.unlink();
    EXPECT_FALSE(cloud.isLinked());
    EXPECT_FALSE(cloud.listFolder({}));

    lexi::test::ScriptedFolderChooser chooser;
    struct Case
    {
        const char *name;
        std::optional<QString> answer;
        bool links;
    };
    const Case cases[] = {
        {"cancelled", std::nullopt, false},
        {"not a folder", scratch.filePath(u"Lexicarta.conf"_s), false},
        {"missing", scratch.filePath(u"nowhere"_s), false},
        {"a folder", folder, true},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        chooser.answer = test.answer;
        EXPECT_EQ(cloud.link(chooser, scratch.path()), test.links);
        EXPECT_EQ(cloud.isLinked(), test.links);
        EXPECT_EQ(chooser.suggestions.last(), folder);
        EXPECT_EQ(chooser.titles.last(), u"Choose the Lexicarta folder in your cloud storage"_s);
    }
    EXPECT_EQ(cloud.folderPath(), folder);
    EXPECT_EQ(defaults.stringForKey(u"cloudFolderPath"_s), folder);

    // Without the cloud client's folder there is nothing to suggest.
    chooser.answer = std::nullopt;
    cloud.link(chooser, scratch.filePath(u"elsewhere"_s));
    EXPECT_EQ(chooser.suggestions.last(), std::nullopt);

    put(path(u"kept.qlxv"_s), "words");
    cloud.unlink();
    EXPECT_FALSE(cloud.isLinked());
    EXPECT_FALSE(defaults.objectForKey(u"cloudFolderPath"_s).isValid());
    EXPECT_EQ(contents(path(u"kept.qlxv"_s)), "words");
}

TEST_F(CloudFolderTest, ListsVisibleEntriesAndFailsForAMissingFolder)
{
    put(path(u"French - English.qlxv"_s), "f");
    put(path(u".dropbox"_s), "client");
    put(path(u".~French - English.qlxv.a1b2c3"_s), "half");
    put(path(u"~syncthing~lexicarta-a1b2c3.tmp"_s), "half");
    QDir(folder).mkpath(u"Logs/machine"_s);

    auto listed = cloud.listFolder({});
    ASSERT_TRUE(listed) << listed.error().toStdString();
    std::sort(listed->begin(), listed->end(), [](const auto &a, const auto &b) { return a.name < b.name; });
    const QList<CloudFolder::Entry> expected = {{u"French - English.qlxv"_s, false}, {u"Logs"_s, true}};
    EXPECT_EQ(*listed, expected);
    EXPECT_TRUE(cloud.listFolder(u"Logs/machine"_s));
    EXPECT_TRUE(cloud.listFolder(u"Logs/machine"_s)->isEmpty());

    QDir(folder).removeRecursively();
    const auto missing = cloud.listFolder({});
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error().contains(folder)) << missing.error().toStdString();
    // Still linked: the folder may come back.
    EXPECT_TRUE(cloud.isLinked());
}

TEST_F(CloudFolderTest, RefusesPathsThatLeaveTheFolder)
{
    put(scratch.filePath(u"Dropbox/Apps/outside.qlxv"_s), "outside");
    for (const QString &bad : {u"../outside.qlxv"_s, u"/etc/passwd"_s, u"Logs//x.txt"_s, u"."_s, u"Logs/../.."_s,
                               QString()}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(cloud.readFile(bad));
        EXPECT_FALSE(cloud.stampOfFile(bad));
        EXPECT_FALSE(cloud.createFile(bad, "x"));
        EXPECT_FALSE(cloud.deletePath(bad));
        EXPECT_FALSE(cloud.createFolder(bad));
    }
    EXPECT_EQ(contents(scratch.filePath(u"Dropbox/Apps/outside.qlxv"_s)), "outside");
}

TEST_F(CloudFolderTest, WhatIsNoRegularFileIsRefusedAtOnce)
{
    const lexi::test::NonRegularFiles files(folder, u"qlxv"_s);
    for (const auto &entry : files.entries()) {
        SCOPED_TRACE(entry.kind);
        const QString name = QFileInfo(entry.path).fileName();
        EXPECT_TRUE(files.endsWithoutWriter([&] { EXPECT_FALSE(cloud.readFile(name)); }));
        EXPECT_FALSE(cloud.stampOfFile(name));
    }
}

// A link to a file of /proc is a regular file whose size reads 0; /proc/self/pagemap goes on for
// terabytes, and is read no further than the largest file the program reads whole.
TEST_F(CloudFolderTest, ALinkToAnEndlessFileOfProcIsReadOnlyToTheBound)
{
    ASSERT_TRUE(QFile::link(u"/proc/self/pagemap"_s, path(u"pagemap.qlxv"_s)));
    lexi::Result<QByteArray> read = QByteArray();
    {
        const lexi::test::AddressSpaceLimit limit(std::size_t(1) << 30);
        read = cloud.readFile(u"pagemap.qlxv"_s);
    }
    ASSERT_FALSE(read);
    EXPECT_TRUE(read.error().endsWith(u"larger than 268435456 bytes"_s)) << read.error().toStdString();
}

TEST_F(CloudFolderTest, ReadsWritesAndDeletesFiles)
{
    EXPECT_FALSE(cloud.stampOfFile(u"a.qlxv"_s));
    EXPECT_FALSE(cloud.readFile(u"a.qlxv"_s));
    EXPECT_FALSE(cloud.deletePath(u"a.qlxv"_s));

    ASSERT_TRUE(cloud.createFile(u"a.qlxv"_s, "first"));
    EXPECT_EQ(*cloud.readFile(u"a.qlxv"_s), "first");
    // A file that is there is not created again.
    EXPECT_FALSE(cloud.createFile(u"a.qlxv"_s, "second"));
    EXPECT_EQ(contents(path(u"a.qlxv"_s)), "first");

    const auto stamp = cloud.stampOfFile(u"a.qlxv"_s);
    ASSERT_TRUE(stamp);
    ASSERT_TRUE(cloud.replaceFile(u"a.qlxv"_s, "second", *stamp));
    EXPECT_EQ(contents(path(u"a.qlxv"_s)), "second");
    // The stamp is that of the file replaced since.
    EXPECT_FALSE(cloud.replaceFile(u"a.qlxv"_s, "third", *stamp));
    EXPECT_EQ(contents(path(u"a.qlxv"_s)), "second");

    // Files go only into folders that are there; folders come with their parents.
    EXPECT_FALSE(cloud.createFile(u"Logs/machine/1.txt"_s, "log"));
    ASSERT_TRUE(cloud.createFolder(u"Logs/machine"_s));
    ASSERT_TRUE(cloud.createFile(u"Logs/machine/1.txt"_s, "log"));
    EXPECT_EQ(contents(path(u"Logs/machine/1.txt"_s)), "log");
    EXPECT_FALSE(cloud.deletePath(u"Logs"_s));

    ASSERT_TRUE(cloud.deletePath(u"a.qlxv"_s));
    EXPECT_FALSE(QFile::exists(path(u"a.qlxv"_s)));
}

TEST_F(CloudFolderTest, ReportsSettledChangesOfWatchedFilesOnly)
{
    struct Case
    {
        const char *name;
        std::function<void(CloudFolderTest &)> change;
        bool reported;
    };
    const Case cases[] = {
        {"new vocabulary", [](CloudFolderTest &t) { put(t.path(u"German - English.qlxv"_s), "g"); }, true},
        {"replaced vocabulary",
         [](CloudFolderTest &t) { ASSERT_TRUE(lexi::writeFileAtomically(t.path(u"French - English.qlxv"_s), "ff")); },
         true},
        {"vocabulary written in place",
         [](CloudFolderTest &t) { put(t.path(u"French - English.qlxv"_s), "more", QIODevice::Append); }, true},
        {"vocabulary deleted", [](CloudFolderTest &t) { QFile::remove(t.path(u"French - English.qlxv"_s)); }, true},
        {"other file", [](CloudFolderTest &t) { put(t.path(u"notes.txt"_s), "n"); }, false},
        {"hidden file", [](CloudFolderTest &t) { put(t.path(u".~German - English.qlxv.x1y2z3"_s), "g"); }, false},
        {"log files",
         [](CloudFolderTest &t) {
             QDir(t.folder).mkpath(u"Logs/machine"_s);
             put(t.path(u"Logs/machine/1.txt"_s), "log");
         },
         false},
        {"written through the folder",
         [](CloudFolderTest &t) {
             ASSERT_TRUE(t.cloud.createFile(u"German - English.qlxv"_s, "g"));
             ASSERT_TRUE(t.cloud.deletePath(u"French - English.qlxv"_s));
         },
         false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        put(path(u"French - English.qlxv"_s), "f");
        bool reported = false;
        cloud.addObserver([&] { reported = true; }, isVocabulary);

        test.change(*this);
        ASSERT_TRUE(waitForChangeNotice());
        scheduler.advance(CloudFolder::settleTime);
        EXPECT_EQ(reported, test.reported);
        cloud.removeObserver();
    }
}

TEST_F(CloudFolderTest, ReportsOnceTheFolderIsQuietAndNothingFromBeforeTheObserver)
{
    put(path(u"French - English.qlxv"_s), "f");
    // Changed while nobody listened: the observer takes the folder as it is.
    put(path(u"German - English.qlxv"_s), "g");
    int reports = 0;
    cloud.addObserver([&] { ++reports; }, isVocabulary);
    put(path(u"notes.txt"_s), "n");
    ASSERT_TRUE(waitForChangeNotice());
    scheduler.advance(CloudFolder::settleTime);
    EXPECT_EQ(reports, 0);

    put(path(u"Spanish - English.qlxv"_s), "s");
    ASSERT_TRUE(waitForChangeNotice());
    scheduler.advance(CloudFolder::settleTime / 2);
    put(path(u"Italian - English.qlxv"_s), "i");
    ASSERT_TRUE(waitForChangeNotice());
    scheduler.advance(CloudFolder::settleTime / 2);
    EXPECT_EQ(reports, 0);
    scheduler.advance(CloudFolder::settleTime);
    EXPECT_EQ(reports, 1);

    cloud.removeObserver();
    put(path(u"Polish - English.qlxv"_s), "p");
    ASSERT_TRUE(waitForChangeNotice());
    scheduler.advance(CloudFolder::settleTime);
    EXPECT_EQ(reports, 1);
}

} // namespace
