#include "SyncTestSupport.h"

#include "model/AvailableLanguages.h"
#include "support/FileSizeLimit.h"
#include "model/VocabularyFileName.h"
#include "platform/files/FileMoveHook.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using lexi::test::contents;
using lexi::test::put;
using lexi::test::SyncInstallation;
using lexi::test::TestWord;
using Action = QLXSyncStatus::SyncAction;

namespace {

const QString french = u"French - English.qlxv"_s;
const TestWord shared{u"chat"_s, 1};
const TestWord fromTheCloud{u"chien"_s, 2};
const TestWord fromHere{u"oiseau"_s, 3};

// An installation with a cloud folder of its own, for one case of a table.
struct Solo
{
    QTemporaryDir cloud;
    SyncInstallation installation{cloud.path(), u"machine"_s};
    const QString cloudPath = cloud.filePath(french);
    const QString localPath = installation.vocabularyPath(french);
};

// Installations that share one cloud folder.
class SynchronisationTest : public ::testing::Test
{
protected:
    QString cloudFile() const { return cloudFolder + u'/' + french; }

    QTemporaryDir cloud;
    const QString cloudFolder = cloud.filePath(u"Lexicarta"_s);
    bool made = QDir().mkpath(cloudFolder);
    SyncInstallation here{cloudFolder, u"machine-a"_s};
};

TEST_F(SynchronisationTest, ComparesVersionsAndMergesWhenBothSidesChanged)
{
    struct Case
    {
        const char *name;
        qint64 local;
        qint64 dropbox;
        bool dirty;
        // Whether the cloud file is the one this installation last brought down or put there.
        bool seen;
        Action action;
        QStringList words;
        qint64 version;
        bool uploaded;
        QString error;
    };
    const QStringList merged = {u"chat"_s, u"chien"_s, u"oiseau"_s};
    const Case cases[] = {
        {"older and changed here: merged", 4, 6, true, true, Action::merged, merged, 7, true, {}},
        {"older: replaced", 4, 6, false, true, Action::pulled, {u"chat"_s, u"chien"_s}, 6, false, {}},
        {"same and changed here: uploaded", 6, 6, true, true, Action::pushed, {u"chat"_s, u"oiseau"_s}, 7, true, {}},
        {"same: left alone", 6, 6, false, true, Action::unchanged, {u"chat"_s, u"oiseau"_s}, 6, false, {}},
        {"newer: merged", 7, 6, false, true, Action::pushed, merged, 8, true, u"local version greater than db version"_s},
        {"newer and changed here: merged", 7, 6, true, true, Action::pushed, merged, 8, true,
         u"local version greater than db version"_s},
        // Another installation's version that lacks words of this one: merged whatever the
        // versions say, and above both.
        {"changed elsewhere, same and changed here: merged", 6, 6, true, false, Action::merged, merged, 7, true, {}},
        {"changed elsewhere, same: merged", 6, 6, false, false, Action::merged, merged, 7, true, {}},
        {"changed elsewhere, older: merged", 4, 6, false, false, Action::merged, merged, 7, true, {}},
        {"changed elsewhere, older and changed here: merged", 4, 6, true, false, Action::merged, merged, 7, true, {}},
        {"changed elsewhere, newer: merged", 7, 6, false, false, Action::pushed, merged, 8, true,
         u"local version greater than db version"_s},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        Solo solo;
        SyncInstallation &installation = solo.installation;
        const QByteArray dropboxFile =
            installation.fileOf(*installation.french({shared, fromTheCloud}, test.dropbox, false));
        put(solo.cloudPath, dropboxFile);
        if (test.seen)
            installation.settings().setCloudFileFingerprint(french, DropBoxController::fingerprint(dropboxFile));
        auto local = installation.french({shared, fromHere}, test.local, test.dirty);
        if (test.dirty)
            installation.saveChanged(*local);
        else
            installation.storage.saveVocabulary(local.get());
        installation.storage.flushSaves();
        const QByteArray localFile = contents(solo.localPath);
        // Only the backups the run makes are looked at.
        QDir(installation.folders.backupFolderPath()).removeRecursively();

        installation.sync();

        const QLXSyncStatus status = installation.records().first();
        EXPECT_EQ(status.languageName(), u"French - English"_s);
        EXPECT_EQ(status.localVersion(), test.local);
        EXPECT_EQ(status.dropboxVersion(), test.dropbox);
        EXPECT_EQ(status.syncAction(), test.action);
        EXPECT_EQ(status.error().value_or(QString()), test.error);

        const auto result = installation.load();
        ASSERT_TRUE(result);
        EXPECT_EQ(installation.foreignWords(solo.localPath), test.words);
        EXPECT_EQ(result->version(), test.version);
        EXPECT_FALSE(result->needsSync());
        const QByteArray now = contents(solo.localPath);
        EXPECT_EQ(contents(solo.cloudPath), test.uploaded ? now : dropboxFile);
        if (test.action == Action::unchanged) {
            EXPECT_EQ(now, localFile);
        }
        // The version a run replaces stays at hand.
        QList<QByteArray> backups;
        for (const QString &name : installation.backupFiles())
            backups.append(contents(installation.folders.backupFolderPath() + u'/' + name));
        EXPECT_EQ(backups, now == localFile ? QList<QByteArray>() : QList<QByteArray>{localFile});
        // Both sides are in step: the next run changes nothing.
        EXPECT_EQ(installation.sync(),
                  (QStringList{u"French - English: exists locally > sync"_s, u"French - English: already synched"_s}));
        EXPECT_EQ(contents(solo.localPath), now);
    }
}

TEST_F(SynchronisationTest, TwoInstallationsKeepEveryWordOfBoth)
{
    SyncInstallation there(cloudFolder, u"machine-b"_s);
    here.saveChanged(*here.french({shared}, 0, true));

    EXPECT_EQ(here.sync(), QStringList{u"French - English: not on db -> upload"_s});
    EXPECT_EQ(there.sync(), QStringList{u"French - English: does not exist locally > add"_s});
    EXPECT_EQ(there.foreignWords(there.vocabularyPath(french)), QStringList{u"chat"_s});

    // Both learners add a word before either synchronises.
    auto mine = here.load();
    SyncInstallation::addWord(*mine, fromHere);
    here.saveChanged(*mine);
    auto theirs = there.load();
    SyncInstallation::addWord(*theirs, fromTheCloud);
    there.saveChanged(*theirs);

    here.sync();
    there.sync();
    here.sync();

    const QStringList all = {u"chat"_s, u"chien"_s, u"oiseau"_s};
    EXPECT_EQ(here.foreignWords(here.vocabularyPath(french)), all);
    EXPECT_EQ(there.foreignWords(there.vocabularyPath(french)), all);
    EXPECT_EQ(contents(here.vocabularyPath(french)), contents(cloudFile()));
    EXPECT_EQ(contents(there.vocabularyPath(french)), contents(cloudFile()));
    EXPECT_EQ(here.load()->version(), there.load()->version());
}

TEST_F(SynchronisationTest, AWordDeletedElsewhereStaysDeletedWhereNothingChanged)
{
    // The other installation falls behind by one version of the cloud file, by several, and by
    // versions that two starts of the program made.
    struct Case
    {
        const char *name;
        int versionsBehind;
        bool restartBetween;
    };
    const Case cases[] = {{"one version behind", 1, false},
                          {"three versions behind", 3, false},
                          {"behind versions of two starts of the program", 3, true}};
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        QTemporaryDir cloud;
        SyncInstallation first(cloud.path(), u"machine-a"_s);
        SyncInstallation second(cloud.path(), u"machine-b"_s);
        first.saveChanged(*first.french({shared, fromTheCloud, fromHere}, 0, true));
        first.sync();
        second.sync();

        QStringList expected = {shared.foreign, fromTheCloud.foreign};
        for (int version = 0; version < test.versionsBehind; ++version) {
            if (test.restartBetween && version == 1)
                first.restart();
            auto vocabulary = first.load();
            if (version == 0) {
                for (const auto &word : vocabulary->allWords()) {
                    if (word->foreignWord() == fromHere.foreign)
                        vocabulary->removeWord(word);
                }
            } else {
                expected.append(u"added %1"_s.arg(version));
                SyncInstallation::addWord(*vocabulary, {expected.last()});
            }
            first.saveChanged(*vocabulary);
            first.sync();
        }
        expected.sort();

        second.sync();
        EXPECT_EQ(second.records().first().syncAction(), Action::pulled);
        EXPECT_EQ(second.foreignWords(second.vocabularyPath(french)), expected);
        EXPECT_EQ(contents(second.vocabularyPath(french)), contents(cloud.filePath(french)));
        first.sync();
        EXPECT_EQ(first.foreignWords(first.vocabularyPath(french)), expected);
    }
}

TEST_F(SynchronisationTest, AVersionMadeBesideTheOneSeenHereIsMergedWhateverTheVersionsSay)
{
    // Two cloud folders, between which a file-sync client carries the file, keeping the newer one.
    QTemporaryDir cloudA;
    QTemporaryDir cloudB;
    SyncInstallation a(cloudA.path(), u"machine-a"_s);
    SyncInstallation b(cloudB.path(), u"machine-b"_s);
    a.saveChanged(*a.french({shared}, 0, true));
    a.sync();
    QFile::copy(cloudA.filePath(french), cloudB.filePath(french));
    b.sync();

    // Machine a makes two versions, machine b one; b's has nothing to upload any more.
    for (const QString &word : {u"a1"_s, u"a2"_s}) {
        auto mine = a.load();
        SyncInstallation::addWord(*mine, {word});
        a.saveChanged(*mine);
        a.sync();
    }
    auto theirs = b.load();
    SyncInstallation::addWord(*theirs, {u"b1"_s});
    b.saveChanged(*theirs);
    b.sync();
    ASSERT_FALSE(b.load()->needsSync());
    ASSERT_LT(b.load()->version(), a.load()->version());

    // The client puts machine a's newer file in place of b's.
    QFile::remove(cloudB.filePath(french));
    QFile::copy(cloudA.filePath(french), cloudB.filePath(french));
    b.sync();

    EXPECT_EQ(b.records()[b.records().size() - 2].syncAction(), Action::merged);
    const QStringList all = {u"a1"_s, u"a2"_s, u"b1"_s, u"chat"_s};
    EXPECT_EQ(b.foreignWords(b.vocabularyPath(french)), all);
    EXPECT_EQ(b.foreignWords(cloudB.filePath(french)), all);
}

TEST_F(SynchronisationTest, WordsStoredWithoutAnIdentifierAreOneWordOnEveryInstallation)
{
    // Both installations have a copy of a vocabulary that another tool wrote, without identifiers,
    // and one of them a word more; neither has synchronised it yet.
    SyncInstallation there(cloudFolder, u"machine-b"_s);
    const auto withoutIdentifiers = [](SyncInstallation &installation, const QStringList &words) {
        auto vocabulary = installation.french({}, 0, false);
        for (const QString &word : words)
            SyncInstallation::addWord(*vocabulary, {word});
        for (const auto &word : vocabulary->allWords())
            word->setCreationID(0);
        put(installation.vocabularyPath(french), installation.fileOf(*vocabulary));
    };
    withoutIdentifiers(here, {u"chat"_s, u"chien"_s, u"chat"_s});
    withoutIdentifiers(there, {u"chat"_s, u"chien"_s, u"chat"_s, u"oiseau"_s});

    here.sync();
    // What goes up is what the program saves: every word with its identifier.
    const auto uploaded = here.storage.vocabularyFromFile(cloudFile());
    ASSERT_TRUE(uploaded);
    EXPECT_TRUE(lexi::test::contents(cloudFile()) != lexi::test::contents(here.vocabularyPath(french)));
    there.sync();
    here.sync();

    // The two copies of "chat" stay two words, as they were.
    const QStringList all = {u"chat"_s, u"chat"_s, u"chien"_s, u"oiseau"_s};
    EXPECT_EQ(here.foreignWords(here.vocabularyPath(french)), all);
    EXPECT_EQ(there.foreignWords(there.vocabularyPath(french)), all);
    EXPECT_EQ(here.foreignWords(cloudFile()), all);
}

TEST_F(SynchronisationTest, TwoWordsThatShareAnOlderIdentifierStayOneEachOnEveryInstallation)
{
    // Each machine has a word of identifier 5 from an older version, a different one; the cloud
    // client puts each machine's file beside the other's as a conflicted copy, and from then on
    // carries machine a's file.
    QTemporaryDir cloudA;
    QTemporaryDir cloudB;
    SyncInstallation a(cloudA.path(), u"machine-a"_s);
    SyncInstallation b(cloudB.path(), u"machine-b"_s);
    a.saveChanged(*a.french({{u"chat"_s, 5}}, 0, true));
    b.saveChanged(*b.french({{u"chien"_s, 5}}, 0, true));
    a.sync();
    b.sync();
    QFile::copy(cloudA.filePath(french),
                cloudB.filePath(u"French - English.sync-conflict-20260105-143000-AAAAAAA.qlxv"_s));
    QFile::copy(cloudB.filePath(french),
                cloudA.filePath(u"French - English.sync-conflict-20260105-143000-BBBBBBB.qlxv"_s));
    a.sync();
    b.sync();
    const auto carry = [&] {
        QFile::remove(cloudB.filePath(french));
        QFile::copy(cloudA.filePath(french), cloudB.filePath(french));
    };
    carry();
    b.sync();
    QFile::remove(cloudA.filePath(french));
    QFile::copy(cloudB.filePath(french), cloudA.filePath(french));
    a.sync();

    const QStringList both = {u"chat"_s, u"chien"_s};
    EXPECT_EQ(a.foreignWords(a.vocabularyPath(french)), both);
    EXPECT_EQ(b.foreignWords(b.vocabularyPath(french)), both);
    EXPECT_EQ(b.foreignWords(cloudB.filePath(french)), both);
}

TEST_F(SynchronisationTest, AMergeKeepsEveryDayOfStatisticsEitherSideRecorded)
{
    SyncInstallation there(cloudFolder, u"machine-b"_s);
    here.saveChanged(*here.french({shared, fromHere}, 0, true));
    here.sync();
    there.sync();
    const auto answer = [](SyncInstallation &installation, std::chrono::hours later) {
        installation.clock.advance(later);
        auto vocabulary = installation.load();
        vocabulary->answeredWord(*vocabulary->allWords().first(), 1);
        installation.saveChanged(*vocabulary);
    };
    // Machine b is used the next day, machine a the day after; a synchronises first.
    answer(there, std::chrono::hours(24));
    answer(here, std::chrono::hours(48));
    here.sync();
    there.sync();
    here.sync();

    const auto days = [](SyncInstallation &installation) {
        QStringList days;
        const auto vocabulary = installation.load();
        for (const QLXDailyStatisticsSnapshot &snapshot : vocabulary->statistics().dailySnapshots())
            days.append(snapshot.description());
        return days;
    };
    EXPECT_EQ(days(there).size(), 3) << days(there).join(u" | "_s).toStdString();
    EXPECT_EQ(days(here), days(there));
}

TEST_F(SynchronisationTest, WordsAddedOnTwoInstallationsAtTheSameTimeAreAllKept)
{
    // Both clocks stand at the same second. Words added on their own, ten at once, and one a few
    // seconds after ten were added on the other machine.
    struct Case
    {
        const char *name;
        int addedHere;
        int addedThere;
        std::chrono::seconds thereLater;
    };
    const Case cases[] = {{"one word each in the same second", 1, 1, {}},
                          {"ten words each in the same second", 10, 10, {}},
                          {"one word five seconds after ten", 10, 1, std::chrono::seconds(5)}};
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        QTemporaryDir cloud;
        SyncInstallation first(cloud.path(), u"machine-a"_s);
        SyncInstallation second(cloud.path(), u"machine-b"_s);
        first.saveChanged(*first.french({shared}, 0, true));
        first.sync();
        second.sync();

        QStringList all = {shared.foreign};
        const auto addWords = [&all](SyncInstallation &installation, int count, const QString &prefix) {
            auto vocabulary = installation.load();
            for (int i = 0; i < count; ++i) {
                all.append(prefix + QString::number(i));
                SyncInstallation::addWord(*vocabulary, {all.last()});
            }
            installation.saveChanged(*vocabulary);
        };
        second.clock.setNow(first.clock.now().addingSeconds(double(test.thereLater.count())));
        addWords(first, test.addedHere, u"a"_s);
        addWords(second, test.addedThere, u"b"_s);
        first.sync();
        second.sync();
        first.sync();

        all.sort();
        EXPECT_EQ(first.foreignWords(first.vocabularyPath(french)), all);
        EXPECT_EQ(second.foreignWords(second.vocabularyPath(french)), all);
    }
}

TEST_F(SynchronisationTest, MergesTheWordsOfConflictedCopiesAndMovesTheCopiesToTheBackups)
{
    const TestWord onlyInTheCopy{u"souris"_s, 4};
    const QStringList copyNames = {
        u"French - English.sync-conflict-20260105-143000-ABCD3FG.qlxv"_s,
        u"French - English (conflicted copy 2026-01-05 143000).qlxv"_s,
        u"French - English (Tom's conflicted copy 2026-01-05).qlxv"_s,
        u"French - English (conflict #1 on 2026-01-05 at 14-30-00).qlxv"_s,
        u"French - English (conflict_on_2026-01-05).qlxv"_s,
        u"French - English (conflict #1_on_2026-01-05).qlxv"_s,
        u"French - English (2).qlxv"_s,
    };
    for (const bool inTheCloud : {true, false}) {
        for (const QString &copyName : copyNames) {
            SCOPED_TRACE((copyName + (inTheCloud ? u" in the cloud"_s : u" here"_s)).toStdString());
            Solo solo;
            SyncInstallation &installation = solo.installation;
            installation.saveChanged(*installation.french({shared, fromHere}, 0, true));
            installation.sync();
            const QString copyPath =
                inTheCloud ? solo.cloud.filePath(copyName) : installation.vocabularyPath(copyName);
            const QByteArray copy =
                installation.fileOf(*installation.french({shared, fromTheCloud, onlyInTheCopy}, 1, false));
            put(copyPath, copy);
            // Never a language of its own.
            EXPECT_EQ(lexi::loadAllAvailableLanguagePaths(installation.folders), QStringList{solo.localPath});

            const QStringList records = installation.sync();

            EXPECT_EQ(records.first(), lexi::withoutVocabularyExtension(copyName)
                                           + u": conflicted copy > merged into French - English > moved to backups"_s);
            const QStringList all = {u"chat"_s, u"chien"_s, u"oiseau"_s, u"souris"_s};
            EXPECT_EQ(installation.foreignWords(solo.localPath), all);
            EXPECT_EQ(contents(solo.cloudPath), contents(solo.localPath));
            EXPECT_FALSE(QFile::exists(copyPath));
            QList<QByteArray> backups;
            for (const QString &name : installation.backupFiles()) {
                if (name.startsWith(lexi::withoutVocabularyExtension(copyName)))
                    backups.append(contents(installation.folders.backupFolderPath() + u'/' + name));
            }
            EXPECT_EQ(backups, QList<QByteArray>{copy});
        }
    }

    // A copy of a language not here becomes that language, and goes to the cloud.
    Solo solo;
    const QByteArray copy = solo.installation.fileOf(*solo.installation.french({shared}, 3, false));
    put(solo.cloud.filePath(u"French - English (2).qlxv"_s), copy);
    solo.installation.sync();
    EXPECT_EQ(solo.installation.foreignWords(solo.localPath), QStringList{u"chat"_s});
    EXPECT_EQ(solo.installation.foreignWords(solo.cloudPath), QStringList{u"chat"_s});
    EXPECT_EQ(QDir(solo.cloud.path()).entryList(QDir::Files), QStringList{french});
}

TEST_F(SynchronisationTest, KeepsACopyOfEveryFileThatDoesNotLoad)
{
    const QRegularExpression backupName(u"^French - English-\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d\\.qlxv$"_s);
    struct Case
    {
        const char *name;
        bool goodHere;
        bool damagedHere;
        bool goodInTheCloud;
        bool damagedInTheCloud;
        // Where the damaged file went, and what each side holds after a second run.
        bool backedUp;
        QStringList wordsHere;
        QStringList wordsInTheCloud;
    };
    const QStringList damaged = {u"<no vocabulary>"_s};
    const QStringList localWords = {u"chat"_s, u"oiseau"_s};
    const QStringList cloudWords = {u"chat"_s, u"chien"_s};
    const Case cases[] = {
        {"damaged in the cloud", true, false, false, true, true, localWords, localWords},
        {"damaged in the cloud, missing here", false, false, false, true, true, damaged, damaged},
        {"damaged here", false, true, true, false, true, cloudWords, cloudWords},
        // Not uploaded, where it would spread to every machine.
        {"damaged here, missing in the cloud", false, true, false, false, false, damaged, damaged},
        {"damaged on both sides", false, true, false, true, false, damaged, damaged},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        Solo solo;
        SyncInstallation &installation = solo.installation;
        const QString &cloudPath = solo.cloudPath;
        const QString &localPath = solo.localPath;
        if (test.goodHere) {
            installation.storage.saveVocabulary(installation.french({shared, fromHere}, 1, false).get());
            installation.storage.flushSaves();
        }
        if (test.damagedHere)
            put(localPath, "damaged here");
        if (test.goodInTheCloud)
            put(cloudPath, installation.fileOf(*installation.french({shared, fromTheCloud}, 1, false)));
        if (test.damagedInTheCloud)
            put(cloudPath, "damaged in the cloud");

        const QStringList records = installation.sync();
        EXPECT_TRUE(records.first().contains(u"could not load"_s)) << records.first().toStdString();
        // Saving a vocabulary makes backups of its own; these are the copies of damaged files.
        QStringList backups;
        for (const QString &name : installation.backupFiles()) {
            if (contents(installation.folders.backupFolderPath() + u'/' + name).startsWith("damaged"))
                backups.append(name);
        }
        if (test.backedUp) {
            ASSERT_EQ(backups.size(), 1);
            EXPECT_TRUE(backupName.match(backups[0]).hasMatch()) << backups[0].toStdString();
            EXPECT_EQ(contents(installation.folders.backupFolderPath() + u'/' + backups[0]),
                      test.damagedHere ? "damaged here" : "damaged in the cloud");
            EXPECT_FALSE(QFile::exists(test.damagedHere ? localPath : cloudPath));
        } else {
            EXPECT_TRUE(backups.isEmpty());
            EXPECT_EQ(contents(localPath), "damaged here");
            EXPECT_EQ(contents(cloudPath), test.damagedInTheCloud ? "damaged in the cloud" : "<missing>");
        }

        installation.sync();
        EXPECT_EQ(installation.foreignWords(localPath), test.wordsHere);
        EXPECT_EQ(installation.foreignWords(cloudPath), test.wordsInTheCloud);
    }
}

TEST_F(SynchronisationTest, RecordsWhyAStepFailedAndShowsItAsFailed)
{
    struct Case
    {
        const char *name;
        std::function<void(Solo &)> prepare;
        QString error;
    };
    const Case cases[] = {
        {"a folder stands where the download goes",
         [](Solo &solo) {
             put(solo.cloudPath, solo.installation.fileOf(*solo.installation.french({shared}, 1, false)));
             QDir().mkpath(solo.localPath);
         },
         u"could not create local file"_s},
        {"the program saves while the cloud's version is to replace the local one",
         [](Solo &solo) {
             SyncInstallation &installation = solo.installation;
             const QByteArray dropboxFile = installation.fileOf(*installation.french({shared, fromTheCloud}, 6, false));
             put(solo.cloudPath, dropboxFile);
             installation.settings().setCloudFileFingerprint(french, DropBoxController::fingerprint(dropboxFile));
             installation.storage.saveVocabulary(installation.french({shared}, 4, false).get());
             installation.storage.flushSaves();
             installation.inputSources.runAtNextListing([&installation] {
                 installation.storage.saveVocabulary(installation.french({shared, fromHere}, 4, false).get());
                 installation.storage.flushSaves();
             });
         },
         u"could not replace local file"_s},
        {"another machine uploads the language first",
         [](Solo &solo) {
             SyncInstallation &installation = solo.installation;
             installation.saveChanged(*installation.french({shared}, 0, true));
             installation.inputSources.runAtNextListing([&] {
                 put(solo.cloudPath, installation.fileOf(*installation.french({fromTheCloud}, 0, false)));
             });
         },
         u"could not create db file"_s},
        // The upload gives the first phase's reason.
        {"the cloud file is still empty",
         [](Solo &solo) {
             put(solo.cloudPath, {});
             solo.installation.saveChanged(*solo.installation.french({shared}, 0, true));
         },
         u"db file is empty > wait -> next sync"_s},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        Solo solo;
        test.prepare(solo);

        solo.installation.sync();

        QList<QLXSyncStatus> failed;
        for (const QLXSyncStatus &status : solo.installation.records()) {
            if (status.error())
                failed.append(status);
        }
        ASSERT_FALSE(failed.isEmpty());
        EXPECT_TRUE(failed.last().error()->startsWith(test.error)) << failed.last().error()->toStdString();
        // Shown as failed, never as done.
        for (const QLXSyncStatus &status : failed)
            EXPECT_EQ(status.syncAction(), Action::failed) << status.error()->toStdString();
    }
}

TEST_F(SynchronisationTest, AFirstPhaseThatFailedShowsAsFailedThoughNothingGoesUp)
{
    SyncInstallation there(cloudFolder, u"machine-b"_s);
    here.saveChanged(*here.french({shared}, 0, true));
    here.sync();
    there.sync();
    const auto vocabulary = there.load();
    ASSERT_TRUE(vocabulary);
    // The cloud client is still writing another machine's version.
    const QByteArray file = contents(cloudFile());
    put(cloudFile(), file.left(file.size() / 2));

    there.sync();

    EXPECT_EQ(there.records()[there.records().size() - 2].syncAction(), Action::failed);
    EXPECT_EQ(there.records().last().message(), u"already synched"_s);
    EXPECT_TRUE(there.log.syncStatusForVocabulary(*vocabulary)->endsWith(u"(failed)"_s))
        << there.log.syncStatusForVocabulary(*vocabulary)->toStdString();
    // A later run that finds both in step is the news.
    here.sync();
    there.sync();
    EXPECT_FALSE(there.log.syncStatusForVocabulary(*vocabulary)->endsWith(u"(failed)"_s));
}

TEST_F(SynchronisationTest, LeavesAFileThatChangesDuringTheRunForTheNext)
{
    const TestWord other{u"souris"_s, 4};
    struct Case
    {
        const char *name;
        // Done while the run loads the vocabulary.
        std::function<void(SyncInstallation &, const QString &cloudPath)> meanwhile;
        QStringList wordsAfterTheRun;
        QStringList cloudWordsAfterTheRun;
    };
    const Case cases[] = {
        {"the program saves a new word",
         [&](SyncInstallation &installation, const QString &) {
             auto saved = installation.french({shared, fromHere, other}, 6, true);
             installation.saveChanged(*saved);
         },
         {u"chat"_s, u"oiseau"_s, u"souris"_s},
         {u"chat"_s}},
        {"the cloud client brings another machine's version",
         [&](SyncInstallation &installation, const QString &cloudPath) {
             put(cloudPath, installation.fileOf(*installation.french({shared, other}, 7, false)));
         },
         {u"chat"_s, u"oiseau"_s},
         {u"chat"_s, u"souris"_s}},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        Solo solo;
        SyncInstallation &installation = solo.installation;
        const QString &cloudPath = solo.cloudPath;
        const QString &localPath = solo.localPath;
        put(cloudPath, installation.fileOf(*installation.french({shared}, 6, false)));
        installation.saveChanged(*installation.french({shared, fromHere}, 6, true));
        installation.inputSources.runAtNextListing([&] { test.meanwhile(installation, cloudPath); });

        EXPECT_EQ(installation.sync().last(), u"French - English: changed while synching -> next sync"_s);
        // Neither side got this run's version.
        EXPECT_EQ(installation.foreignWords(localPath), test.wordsAfterTheRun);
        EXPECT_TRUE(installation.load()->needsSync());
        EXPECT_EQ(installation.foreignWords(cloudPath), test.cloudWordsAfterTheRun);

        // The next run brings the change in, and both sides end in step.
        installation.sync();
        const QStringList all = {u"chat"_s, u"oiseau"_s, u"souris"_s};
        EXPECT_EQ(installation.foreignWords(localPath), all);
        EXPECT_EQ(contents(cloudPath), contents(localPath));
    }
}

TEST_F(SynchronisationTest, KeepsASaveThatComesWhileTheRunPutsTheLocalFileAside)
{
    struct Case
    {
        const char *name;
        // The local file as the run finds it, and whether the cloud file is one it has seen.
        std::optional<TestWord> localWord;
        bool seen;
    };
    const Case cases[] = {
        {"replaced by a newer cloud version", shared, true},
        {"moved to the backups as it does not load", std::nullopt, false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        Solo solo;
        SyncInstallation &installation = solo.installation;
        const QByteArray cloudFile = installation.fileOf(*installation.french({shared, fromTheCloud}, 7, false));
        put(solo.cloudPath, cloudFile);
        if (test.seen)
            installation.settings().setCloudFileFingerprint(french, DropBoxController::fingerprint(cloudFile));
        if (test.localWord) {
            installation.storage.saveVocabulary(installation.french({*test.localWord}, 6, false).get());
            installation.storage.flushSaves();
        } else {
            put(solo.localPath, "damaged here");
        }
        // The learner adds a word just as the run has checked the local file and is about to move it.
        const auto edited = installation.french({shared, fromHere}, 6, true);
        std::thread saving;
        lexi::setFileMoveHook([&](const QString &checkedPath) {
            if (checkedPath == solo.localPath && !saving.joinable())
                saving = std::thread([&] { installation.saveChanged(*edited); });
        });

        installation.sync();
        ASSERT_TRUE(saving.joinable());
        saving.join();
        lexi::setFileMoveHook({});

        EXPECT_EQ(installation.foreignWords(solo.localPath), (QStringList{u"chat"_s, u"oiseau"_s}));
        ASSERT_TRUE(installation.load());
        EXPECT_TRUE(installation.load()->needsSync());
        // The next run merges the save with the cloud's version.
        installation.sync();
        const QStringList all = {u"chat"_s, u"chien"_s, u"oiseau"_s};
        EXPECT_EQ(installation.foreignWords(solo.localPath), all);
        EXPECT_EQ(contents(solo.cloudPath), contents(solo.localPath));
    }
}

// While it lives, nothing can be written into the folder, also not by the superuser (who passes
// over permissions, but not over the immutable flag).
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(QFile::encodeName(path))
    {
        ::chmod(m_path.constData(), 0555);
        if (::geteuid() == 0)
            setImmutable(true);
    }
    ~ReadOnlyFolder()
    {
        if (::geteuid() == 0)
            setImmutable(false);
        ::chmod(m_path.constData(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // Whether a file cannot be made there indeed.
    bool holds() const
    {
        QFile probe(QFile::decodeName(m_path) + u"/probe"_s);
        const bool made = probe.open(QIODevice::WriteOnly);
        if (made)
            probe.remove();
        return !made;
    }

private:
    void setImmutable(bool on)
    {
        const int descriptor = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor < 0)
            return;
        int flags = 0;
        if (::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags);
        }
        ::close(descriptor);
    }

    QByteArray m_path;
};

TEST_F(SynchronisationTest, AnUploadToAReadOnlyOrFullCloudFolderShowsAsFailed)
{
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "full" : "read-only");
        Solo solo;
        SyncInstallation &installation = solo.installation;
        auto vocabulary = installation.french({shared}, 0, true);
        installation.saveChanged(*vocabulary);
        installation.sync();
        ASSERT_TRUE(installation.log.syncStatusForVocabulary(*vocabulary)->endsWith(u"(pushed)"_s));

        SyncInstallation::addWord(*vocabulary, fromHere);
        installation.saveChanged(*vocabulary);
        const QByteArray before = contents(solo.cloudPath);
        std::optional<ReadOnlyFolder> readOnly;
        std::optional<lexi::test::FileSizeLimit> limit;
        if (full) {
            limit.emplace(rlim_t(before.size()));
        } else {
            readOnly.emplace(solo.cloud.path());
            if (!readOnly->holds())
                GTEST_SKIP() << "the folder cannot be made read-only here";
        }
        const QStringList records = installation.sync();
        limit.reset();
        readOnly.reset();

        // A full disk stops the run already where it writes the new version here.
        const QString failure = full ? u"French - English: could not save updated file"_s
                                     : u"French - English: could not write db file"_s;
        EXPECT_TRUE(records.last().startsWith(failure))
            << records.join(u"|"_s).toStdString();
        EXPECT_EQ(installation.records().last().syncAction(), Action::failed);
        EXPECT_TRUE(installation.log.syncStatusForVocabulary(*vocabulary)->endsWith(u"(failed)"_s));
        EXPECT_EQ(contents(solo.cloudPath), before);

        // Once the folder takes files again, the next run carries the word up.
        installation.sync();
        EXPECT_EQ(installation.foreignWords(solo.cloudPath), (QStringList{u"chat"_s, u"oiseau"_s}));
        EXPECT_TRUE(installation.log.syncStatusForVocabulary(*vocabulary)->endsWith(u"(pushed)"_s));
    }
}

// Two installations with cloud folders of their own, between which a file-sync client carries the
// files, keeping the newer file when both changed.
TEST_F(SynchronisationTest, AForkAtEqualVersionsIsMergedAndALocalDeletionStillSticks)
{
    QTemporaryDir cloudA;
    QTemporaryDir cloudB;
    SyncInstallation a(cloudA.path(), u"machine-a"_s);
    SyncInstallation b(cloudB.path(), u"machine-b"_s);
    const auto carry = [](const QTemporaryDir &from, const QTemporaryDir &to) {
        QFile::remove(to.filePath(french));
        QFile::copy(from.filePath(french), to.filePath(french));
    };
    a.saveChanged(*a.french({shared}, 0, true));
    a.sync();
    carry(cloudA, cloudB);
    b.sync();

    // Both add a word and synchronise: two different files of version 1.
    auto mine = a.load();
    SyncInstallation::addWord(*mine, {u"oiseau"_s});
    a.saveChanged(*mine);
    auto theirs = b.load();
    SyncInstallation::addWord(*theirs, {u"chien"_s});
    b.saveChanged(*theirs);
    a.sync();
    b.sync();
    ASSERT_EQ(a.load()->version(), 1);
    ASSERT_EQ(b.load()->version(), 1);

    // The client keeps machine a's file; machine b merges its own words back in.
    carry(cloudA, cloudB);
    const QStringList records = b.sync();
    EXPECT_EQ(b.records()[b.records().size() - 2].syncAction(), Action::merged) << records.join(u'|').toStdString();
    carry(cloudB, cloudA);
    a.sync();
    const QStringList all = {u"chat"_s, u"chien"_s, u"oiseau"_s};
    EXPECT_EQ(a.foreignWords(a.vocabularyPath(french)), all);
    EXPECT_EQ(b.foreignWords(b.vocabularyPath(french)), all);
    EXPECT_EQ(a.load()->version(), 2);
    EXPECT_EQ(b.load()->version(), 2);

    // A word deleted on machine a, whose cloud file is the one it last saw, stays deleted.
    mine = a.load();
    for (const auto &word : mine->allWords()) {
        if (word->foreignWord() == u"oiseau"_s)
            mine->removeWord(word);
    }
    a.saveChanged(*mine);
    a.sync();
    EXPECT_EQ(a.foreignWords(a.vocabularyPath(french)), (QStringList{u"chat"_s, u"chien"_s}));
    EXPECT_EQ(a.foreignWords(cloudA.filePath(french)), (QStringList{u"chat"_s, u"chien"_s}));
}

} // namespace
