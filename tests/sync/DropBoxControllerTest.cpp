#include "SyncTestSupport.h"
#include "support/AddressSpaceLimit.h"
#include "support/NonRegularFiles.h"

#include "support/ConsoleCapture.h"
#include "support/RecordingLogger.h"

#include "logging/QLXLog.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using lexi::test::contents;
using lexi::test::put;
using lexi::test::SyncInstallation;
using Action = QLXSyncStatus::SyncAction;

namespace {

// A folder dialog that, as a modal one does, lets the program go on while it is open: it runs
// `whileOpen` the first time, then the learner cancels.
class ReenteringFolderChooser final : public lexi::FolderChooser
{
public:
    explicit ReenteringFolderChooser(std::function<void()> whileOpen) : m_whileOpen(std::move(whileOpen)) {}

    std::optional<QString> chooseFolder(const QString &, const std::optional<QString> &) override
    {
        if (++openings == 1)
            m_whileOpen();
        return std::nullopt;
    }

    int openings = 0;

private:
    std::function<void()> m_whileOpen;
};

class DropBoxControllerTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        QLXLog::removeAllLoggers();
        QLXLog::flushLog();
    }

    QString cloudPath(const QString &name) const { return cloudFolder + u'/' + name; }

    static std::shared_ptr<RecordingLogger> recordLog()
    {
        auto logger = std::make_shared<RecordingLogger>();
        QLXLog::addLogger(logger);
        return logger;
    }

    QTemporaryDir cloud;
    const QString cloudFolder = cloud.filePath(u"Lexicarta"_s);
    bool made = QDir().mkpath(cloudFolder);
    SyncInstallation here{cloudFolder, u"machine-a"_s};
};

TEST_F(DropBoxControllerTest, DownloadsNewLanguagesAndUploadsLocalOnes)
{
    const QByteArray french = here.fileOf(*here.french({{u"chat"_s, 1}}, 3, false));
    put(cloudPath(u"French - English.qlxv"_s), french);
    auto german = here.french({{u"Hund"_s, 2}}, 0, true);
    german->setForeignLanguageName(u"German"_s);
    here.saveChanged(*german);

    const QStringList records = here.sync();

    EXPECT_EQ(contents(here.vocabularyPath(u"French - English.qlxv"_s)), french);
    // What goes up is the vocabulary as the program saves it, no longer changed since its
    // version.
    const auto uploaded = here.storage.vocabularyFromFile(cloudPath(u"German - English.qlxv"_s));
    ASSERT_TRUE(uploaded);
    EXPECT_EQ(here.foreignWords(cloudPath(u"German - English.qlxv"_s)), QStringList{u"Hund"_s});
    EXPECT_FALSE(uploaded->needsSync());
    // What came down is not sent back up in the same run.
    EXPECT_EQ(records, (QStringList{u"French - English: does not exist locally > add"_s,
                                               u"German - English: not on db -> upload"_s}));
    EXPECT_EQ(here.records()[0].syncAction(), Action::pulled);
    EXPECT_EQ(here.records()[1].syncAction(), Action::pushed);
    EXPECT_FALSE(QFileInfo::exists(here.folders.applicationSupportFolder() + u"/Download"_s));
    EXPECT_EQ(here.vocabularyFiles(), (QStringList{u"French - English.qlxv"_s, u"German - English.qlxv"_s}));

    EXPECT_EQ(here.delegate.finishedSyncs, 0);
    SyncInstallation::deliverMainThreadCalls();
    EXPECT_EQ(here.delegate.finishedSyncs, 1);

    // The upload left the local copy changed since its version: it goes up once more, as the
    // next version.
    EXPECT_EQ(here.sync(), (QStringList{u"French - English: exists locally > sync"_s,
                                        u"German - English: exists locally > sync"_s,
                                        u"French - English: already synched"_s,
                                        u"German - English: modified -> upload"_s}));
    EXPECT_EQ(here.sync(), (QStringList{u"French - English: exists locally > sync"_s,
                                        u"German - English: exists locally > sync"_s,
                                        u"French - English: already synched"_s,
                                        u"German - English: already synched"_s}));
    EXPECT_TRUE(here.alerts.alerts.isEmpty());
}

TEST_F(DropBoxControllerTest, MovesConflictedCopiesThatDoNotLoadToTheBackupsAndPassesOverWhatIsNoVocabulary)
{
    const QStringList kept = {u"notes.txt"_s, u"a.qlxv.b.qlxv"_s, u".hidden.qlxv"_s, u"French - English.qlxv.part"_s};
    for (const QString &name : kept)
        put(cloudPath(name), "x");
    QDir(cloudFolder).mkpath(u"Old.qlxv"_s);
    put(cloudPath(u"French - English (Tom's conflicted copy).qlxv"_s), "Tom's version");
    put(cloudPath(u"French - English (2).qlxv"_s), "second version");
    // Parentheses alone make no conflicted copy.
    auto british = here.french({{u"chat"_s, 1}}, 3, false);
    british->setYourLanguageName(u"English (UK)"_s);
    const QByteArray britishFile = here.fileOf(*british);
    put(cloudPath(u"French - English (UK).qlxv"_s), britishFile);

    QStringList records = here.sync();
    records.sort();
    EXPECT_EQ(records, (QStringList{u"French - English (2): conflicted copy does not load > moved to backups"_s,
                                    u"French - English (Tom's conflicted copy): conflicted copy does not load > moved to backups"_s,
                                    u"French - English (UK): does not exist locally > add"_s}));
    EXPECT_FALSE(QFile::exists(cloudPath(u"French - English (Tom's conflicted copy).qlxv"_s)));
    EXPECT_FALSE(QFile::exists(cloudPath(u"French - English (2).qlxv"_s)));
    const QStringList backups = here.backupFiles();
    ASSERT_EQ(backups.size(), 2);
    EXPECT_TRUE(backups[0].startsWith(u"French - English (2)-"_s)) << backups[0].toStdString();
    EXPECT_TRUE(backups[1].startsWith(u"French - English (Tom's conflicted copy)-"_s)) << backups[1].toStdString();
    EXPECT_EQ(contents(here.folders.backupFolderPath() + u'/' + backups[0]), "second version");
    EXPECT_EQ(contents(here.folders.backupFolderPath() + u'/' + backups[1]), "Tom's version");
    for (const QString &name : kept)
        EXPECT_EQ(contents(cloudPath(name)), "x") << name.toStdString();
    EXPECT_TRUE(QFileInfo(cloudPath(u"Old.qlxv"_s)).isDir());
    EXPECT_EQ(here.vocabularyFiles(), QStringList{u"French - English (UK).qlxv"_s});
    EXPECT_EQ(contents(here.vocabularyPath(u"French - English (UK).qlxv"_s)), britishFile);
    EXPECT_EQ(contents(cloudPath(u"French - English (UK).qlxv"_s)), britishFile);
}

TEST_F(DropBoxControllerTest, PassesOverAVocabularyThatIsNoRegularFileAtOnce)
{
    const lexi::test::NonRegularFiles files(here.folders.vocabularyFolderPath(), u"qlxv"_s);
    {
        // Reading the device to its end fails here before it takes the machine.
        const lexi::test::AddressSpaceLimit limit(std::size_t(512) << 20);
        EXPECT_TRUE(files.endsWithoutWriter([&] { here.sync(); }));
    }
    // Only the link to a file counts as a vocabulary; it cannot be read, and nothing goes up.
    EXPECT_EQ(here.recordLines(), QStringList{u"zero: could not read local file %1: not a regular file"_s.arg(
                                      here.vocabularyPath(u"zero.qlxv"_s))});
    EXPECT_EQ(QDir(cloudFolder).entryList(QDir::Files), QStringList());
}

TEST_F(DropBoxControllerTest, RemovesTemporaryFilesThatAKilledRunLeftForMinutes)
{
    const auto putAged = [this](const QString &path, int seconds) {
        put(path, "half written");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(here.clock.now().addingSeconds(-seconds).toDateTime(), QFileDevice::FileModificationTime);
    };
    const QString logFolder = cloudPath(u"Logs/machine-a"_s);
    QDir().mkpath(logFolder);
    const QStringList stale = {cloudPath(u"~syncthing~lexicarta-1a2b3c.tmp"_s), logFolder + u"/.~lexicarta.4d5e6f"_s,
                               here.vocabularyPath(u"~syncthing~lexicarta-7g8h9i.tmp"_s),
                               here.folders.backupFolderPath() + u"/~syncthing~lexicarta-0j1k2l.tmp"_s};
    const QStringList fresh = {cloudPath(u"~syncthing~lexicarta-fresh.tmp"_s),
                               here.vocabularyPath(u".~lexicarta.fresh"_s),
                               here.folders.backupFolderPath() + u"/~syncthing~lexicarta-fresh.tmp"_s};
    for (const QString &path : stale)
        putAged(path, 1000);
    for (const QString &path : fresh)
        putAged(path, 0);
    put(cloudPath(u"~other.tmp"_s), "not ours");

    here.sync();

    for (const QString &path : stale)
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    for (const QString &path : fresh + QStringList{cloudPath(u"~other.tmp"_s)})
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
}

TEST_F(DropBoxControllerTest, LeavesALanguageDeletedHereInTheCloud)
{
    const QByteArray french = here.fileOf(*here.french({{u"chat"_s, 1}}, 3, false));
    put(cloudPath(u"French - English.qlxv"_s), french);
    here.defaults.setBool(u"French - English"_s, true);

    EXPECT_EQ(here.sync(), QStringList{u"French - English: skipped - recreate language locally to sync it"_s});
    EXPECT_EQ(here.records()[0].syncAction(), Action::skipped);
    EXPECT_TRUE(here.vocabularyFiles().isEmpty());
    EXPECT_EQ(contents(cloudPath(u"French - English.qlxv"_s)), french);

    // Made here again, the language takes part once more.
    here.saveChanged(*here.french({{u"chien"_s, 2}}, 0, true));
    EXPECT_EQ(here.sync(), (QStringList{u"French - English: exists locally > sync"_s,
                                        u"French - English: modified -> upload"_s}));
    EXPECT_EQ(here.foreignWords(cloudPath(u"French - English.qlxv"_s)), (QStringList{u"chat"_s, u"chien"_s}));
}

TEST_F(DropBoxControllerTest, RemovesAnEmptyCloudFileOnlyOnceItStayedEmptyForAMinute)
{
    struct Step
    {
        std::chrono::seconds after;
        bool empty;
        QString record;
        bool remains;
    };
    // sync() lets 31 s pass before each run.
    const Step steps[] = {
        {std::chrono::seconds(0), true, u"French - English: db file is empty > wait"_s, true},
        {std::chrono::seconds(0), true, u"French - English: db file is empty > wait"_s, true},
        {std::chrono::seconds(0), false, u"French - English: does not exist locally > add"_s, true},
        {std::chrono::seconds(0), true, u"French - English: db file is empty > wait"_s, true},
        {std::chrono::seconds(28), true, u"French - English: db file is empty > wait"_s, true},
        {std::chrono::seconds(0), true, u"French - English: db file is empty > delete"_s, false},
    };
    const QByteArray french = here.fileOf(*here.french({}, 0, false));
    int number = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(++number);
        QFile::remove(here.vocabularyPath(u"French - English.qlxv"_s));
        put(cloudPath(u"French - English.qlxv"_s), step.empty ? QByteArray() : french);
        here.clock.advance(step.after);
        EXPECT_EQ(here.sync(), QStringList{step.record});
        EXPECT_EQ(QFile::exists(cloudPath(u"French - English.qlxv"_s)), step.remains);
    }
}

TEST_F(DropBoxControllerTest, DoesNothingOfflineOrWithoutTheFolder)
{
    struct Case
    {
        const char *name;
        std::function<void(SyncInstallation &, const QString &)> prepare;
        QString logged;
    };
    const Case cases[] = {
        {"offline", [](SyncInstallation &here, const QString &) { here.network.setFlags(0); },
         u"DB > sync > NO INTERNET > abort synching"_s},
        {"no network flags", [](SyncInstallation &here, const QString &) { here.network.setFlags(std::nullopt); },
         u"DB > sync > NO INTERNET > abort synching"_s},
        {"folder missing", [](SyncInstallation &, const QString &folder) { QDir(folder).removeRecursively(); },
         u"DB > sync > could not list db The folder <folder> does not exist."_s},
        {"switched off", [](SyncInstallation &here, const QString &) { here.controller->setIsEnabled(false); },
         QString()},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        QTemporaryDir otherCloud;
        const QString folder = otherCloud.filePath(u"Lexicarta"_s);
        put(folder + u"/French - English.qlxv"_s, "cloud");
        SyncInstallation installation(folder, u"machine"_s);
        put(installation.vocabularyPath(u"German - English.qlxv"_s), "local");
        auto logger = recordLog();
        test.prepare(installation, folder);

        installation.sync();
        QLXLog::flushLog();
        SyncInstallation::deliverMainThreadCalls();

        EXPECT_TRUE(installation.records().isEmpty());
        EXPECT_EQ(installation.vocabularyFiles(), QStringList{u"German - English.qlxv"_s});
        EXPECT_FALSE(QFile::exists(folder + u"/German - English.qlxv"_s));
        EXPECT_EQ(installation.delegate.finishedSyncs, 0);
        // A folder that is missing does not make the program ask for one.
        EXPECT_TRUE(installation.chooser.titles.isEmpty());
        if (!test.logged.isEmpty()) {
            EXPECT_TRUE(logger->texts().contains(QString(test.logged).replace(u"<folder>"_s, folder)))
                << logger->texts().join(u'\n').toStdString();
        }
        QLXLog::removeAllLoggers();
    }
}

TEST_F(DropBoxControllerTest, LinksTheFolderTheLearnerChooses)
{
    lexi::test::ConsoleCapture console;
    here.controller->setIsEnabled(false);
    EXPECT_FALSE(here.controller->isLinked());
    EXPECT_FALSE(here.controller->isEnabled());
    EXPECT_FALSE(here.defaults.boolForKey(u"enableDropbox"_s));

    // Cancelled.
    here.controller->setIsEnabled(true);
    EXPECT_TRUE(here.chooser.titles.isEmpty());
    SyncInstallation::deliverMainThreadCalls();
    EXPECT_EQ(here.chooser.titles.size(), 1);
    EXPECT_EQ(here.delegate.failedLinks, 1);
    EXPECT_FALSE(here.controller->isEnabled());

    // Chosen.
    here.chooser.answer = cloudFolder;
    here.controller->setIsEnabled(true);
    SyncInstallation::deliverMainThreadCalls();
    EXPECT_EQ(here.delegate.links, 1);
    EXPECT_TRUE(here.controller->isLinked());
    EXPECT_TRUE(here.controller->isEnabled());
    EXPECT_TRUE(here.defaults.boolForKey(u"enableDropbox"_s));
    EXPECT_TRUE(console.lines().contains(u"App linked successfully!"_s));

    // Linked: asks no more.
    here.controller->linkWithDropbox();
    EXPECT_EQ(here.chooser.titles.size(), 2);

    // Switched on without a folder, a request starts linking; without a window nothing is asked.
    auto logger = recordLog();
    here.cloud.unlink();
    here.controller->setWindow(nullptr);
    here.sync();
    SyncInstallation::deliverMainThreadCalls();
    EXPECT_EQ(here.chooser.titles.size(), 2);
    EXPECT_TRUE(logger->texts().contains(u"!!!!!!!! must assign window to dropbox controller"_s));
    EXPECT_TRUE(here.records().isEmpty());
}

TEST_F(DropBoxControllerTest, AsksForTheFolderOnceForRequestsMadeBeforeTheAnswer)
{
    here.cloud.unlink();
    ReenteringFolderChooser chooser([&] {
        // What was queued before the dialog runs while it is open; what comes meanwhile runs after.
        QCoreApplication::sendPostedEvents();
        here.sync();
    });
    here.controller->setWindow(&chooser);
    here.sync();
    here.sync();
    here.controller->setIsEnabled(true);

    SyncInstallation::deliverMainThreadCalls();
    SyncInstallation::deliverMainThreadCalls();
    EXPECT_EQ(chooser.openings, 1);
    EXPECT_EQ(here.delegate.failedLinks, 1);

    // Asked again, it asks again.
    here.controller->setIsEnabled(true);
    SyncInstallation::deliverMainThreadCalls();
    EXPECT_EQ(chooser.openings, 2);
    here.controller->setWindow(nullptr);
}

TEST_F(DropBoxControllerTest, ThrottlesRequestsOnTheSteadyClock)
{
    // Uploaded by the first run, in step from then on.
    here.storage.saveVocabulary(here.french({}, 0, false).get());
    struct Step
    {
        int after;
        bool folderChanged;
        bool runs;
    };
    const Step steps[] = {
        // request n waits 3 × n s
        {0, false, true},   // the first request runs, and uploads
        {5, true, false},   // within 6 s of an upload, even after a change
        {7, false, true},   // 12 s: nothing to upload this time
        {1, false, false},  // 1 s since the last run
        {12, true, true},   // 13 s since the last run, 25 s since the upload: a change lets it run
        {1, false, false},
    };
    int runs = 0;
    int number = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(++number);
        here.clock.advance(std::chrono::seconds(step.after));
        // The wall clock going back changes nothing.
        here.clock.setNow(lexi::Date::fromSecondsSinceReferenceDate(100000000));
        if (step.folderChanged)
            here.controller->dropboxFolderDidChange();
        here.controller->syncWithDropboxBlocking();
        SyncInstallation::deliverMainThreadCalls();
        runs += step.runs;
        EXPECT_EQ(here.delegate.finishedSyncs, runs);
    }
}

TEST_F(DropBoxControllerTest, RunsTwiceAfterAChangeInTheCloudFolder)
{
    // A change comes in through the cloud folder's watcher.
    const QByteArray french = here.fileOf(*here.french({{u"chat"_s, 1}}, 3, false));
    put(cloudPath(u"French - English.qlxv"_s), french);
    const QDeadlineTimer deadline(std::chrono::seconds(10));
    while (here.scheduler.pendingCount() == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    here.scheduler.advance(lexi::CloudFolder::settleTime);
    // A second report while the runs wait is ignored.
    here.controller->dropboxFolderDidChange();

    here.scheduler.advance(std::chrono::seconds(5));
    here.controller->finishPendingWork();
    EXPECT_EQ(contents(here.vocabularyPath(u"French - English.qlxv"_s)), french);
    EXPECT_EQ(here.records().size(), 1);

    here.scheduler.advance(std::chrono::seconds(10));
    here.controller->finishPendingWork();
    EXPECT_EQ(here.recordLines(), (QStringList{u"French - English: does not exist locally > add"_s,
                                               u"French - English: exists locally > sync"_s,
                                               u"French - English: already synched"_s}));
    here.scheduler.advance(std::chrono::minutes(1));
    here.controller->finishPendingWork();
    EXPECT_EQ(here.records().size(), 3);
    SyncInstallation::deliverMainThreadCalls();
    EXPECT_EQ(here.delegate.finishedSyncs, 2);
}

TEST_F(DropBoxControllerTest, UploadsThisMachinesLogsOnce)
{
    const QString logs = here.folders.logsFolderPath();
    put(logs + u"/500000000.txt"_s, "first");
    put(logs + u"/500001800.txt"_s, "second");
    put(logs + u"/notes.txt"_s, "not a log");
    put(cloudPath(u"Logs/machine-a/500000000.txt"_s), "first, as uploaded before");

    here.log.saveLogAndClear();
    here.controller->finishPendingWork();

    const QString mine = cloudPath(u"Logs/machine-a/"_s);
    EXPECT_EQ(contents(mine + u"500000000.txt"_s), "first, as uploaded before");
    EXPECT_EQ(contents(mine + u"500001800.txt"_s), "second");
    EXPECT_FALSE(QFile::exists(mine + u"notes.txt"_s));
    const QStringList names = QDir(logs).entryList({u"6*.txt"_s}, QDir::Files);
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(contents(mine + names[0]), "");

    // Another machine uploads into a folder of its own, made when missing.
    SyncInstallation there(cloudFolder, u"UnidentifiedMac"_s);
    put(there.folders.logsFolderPath() + u"/500000000.txt"_s, "theirs");
    there.controller->syncSyncLogToDropbox();
    EXPECT_EQ(contents(cloudPath(u"Logs/UnidentifiedMac/500000000.txt"_s)), "theirs");
    EXPECT_EQ(contents(mine + u"500000000.txt"_s), "first, as uploaded before");
}

TEST_F(DropBoxControllerTest, KeepsTheFiftyNewestCloudLogsByNumber)
{
    // 999999997 to 999999999 come before 1000000000 in number, after it in text.
    const QString folder = u"Logs/machine-a/"_s;
    for (qint64 number = 999999997; number < 1000000050; ++number)
        put(cloudPath(folder + QString::number(number) + u".txt"_s), "log");
    put(cloudPath(folder + u"notes.txt"_s), "kept");

    here.controller->tidyLogFolder(folder.chopped(1));

    QStringList kept = QDir(cloudPath(folder)).entryList({u"*.txt"_s}, QDir::Files);
    EXPECT_EQ(kept.size(), 51);
    EXPECT_TRUE(kept.contains(u"notes.txt"_s));
    for (const char *gone : {"999999997.txt", "999999998.txt", "999999999.txt"})
        EXPECT_FALSE(kept.contains(QString::fromLatin1(gone))) << gone;
    EXPECT_TRUE(kept.contains(u"1000000000.txt"_s));
    EXPECT_TRUE(kept.contains(u"1000000049.txt"_s));
}

} // namespace
