#include "sync/QLXSyncLog.h"

#include "model/Lexicarta.h"
#include "platform/files/ApplicationFolders.h"
#include "support/FakeClock.h"
#include "support/FakeVocabularyServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>

using namespace Qt::StringLiterals;
using Action = QLXSyncStatus::SyncAction;
using Direction = QLXSyncStatus::SyncDirection;

namespace {

class QLXSyncLogTest : public ::testing::Test
{
protected:
    QLXSyncStatus status(const QString &language, Action action, Direction direction = Direction::dropboxToLocal)
    {
        auto record = QLXSyncStatus::statusWithLanguage(language, 1, 1, direction, clock);
        record.setSyncAction(action);
        return record;
    }

    static QStringList names(const QList<QLXSyncStatus> &records)
    {
        QStringList names;
        for (const QLXSyncStatus &record : records)
            names.append(record.languageName() + u':' + QString::number(qint64(record.syncAction())));
        return names;
    }

    QStringList logFiles() const { return QDir(folders.logsFolderPath()).entryList(QDir::Files, QDir::Name); }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir scratch;
    lexi::ApplicationFolders folders{scratch.path()};
    lexi::test::FakeClock clock{lexi::Date::fromSecondsSinceReferenceDate(500000000.25)};
    QLXSyncLog log{{&folders, &clock}};
};

TEST_F(QLXSyncLogTest, KeepsTheLatestMeaningfulRecordPerLanguage)
{
    struct Step
    {
        QString language;
        Action action;
        QStringList statusLog;
        // Added in a run of its own.
        bool newRun = false;
    };
    const Step steps[] = {
        {u"French - English"_s, Action::pulled, {u"French - English:-1"_s}},
        {u"German - English"_s, Action::unchanged, {u"French - English:-1"_s, u"German - English:0"_s}},
        // Nothing done does not hide what was done.
        {u"French - English"_s, Action::unchanged, {u"French - English:-1"_s, u"German - English:0"_s}},
        // Something done takes the place and moves to the end.
        {u"French - English"_s, Action::pushed, {u"German - English:0"_s, u"French - English:1"_s}},
        // Names that differ in case only are one language.
        {u"german - english"_s, Action::merged, {u"French - English:1"_s, u"german - english:2"_s}},
        {u"German - English"_s, Action::skipped, {u"French - English:1"_s, u"German - English:3"_s}},
        // A failure shows, whatever a later step of its run says, and a run that finds everything
        // in step afterwards shows that.
        {u"French - English"_s, Action::failed, {u"German - English:3"_s, u"French - English:4"_s}},
        {u"French - English"_s, Action::unchanged, {u"German - English:3"_s, u"French - English:4"_s}},
        {u"French - English"_s, Action::pushed, {u"German - English:3"_s, u"French - English:4"_s}},
        {u"French - English"_s, Action::unchanged, {u"German - English:3"_s, u"French - English:0"_s}, true},
    };
    for (const Step &step : steps) {
        if (step.newRun)
            log.startRun();
        log.addStatus(status(step.language, step.action));
    }
    EXPECT_EQ(names(log.statusLog()), steps[std::size(steps) - 1].statusLog);
    EXPECT_EQ(log.fullLog().size(), qsizetype(std::size(steps)));

    QLXSyncLog stepwise{{&folders, &clock}};
    for (const Step &step : steps) {
        if (step.newRun)
            stepwise.startRun();
        stepwise.addStatus(status(step.language, step.action));
        EXPECT_EQ(names(stepwise.statusLog()), step.statusLog) << step.language.toStdString();
    }
}

TEST_F(QLXSyncLogTest, HeadsEachRunOfOneDirection)
{
    log.addStatus(status(u"a"_s, Action::pushed, Direction::localToDropbox));
    log.addStatus(status(u"b"_s, Action::pulled));
    log.addStatus(status(u"c"_s, Action::unchanged));
    const QString text = log.logString();
    EXPECT_EQ(text.count(u"Sync Local To Dropbox\n"_s), 1);
    EXPECT_EQ(text.count(u"Sync Dropbox To Local\n"_s), 1);
    EXPECT_LT(text.indexOf(u"Sync Local To Dropbox"_s), text.indexOf(u"<a>"_s));
    EXPECT_LT(text.indexOf(u"<a>"_s), text.indexOf(u"Sync Dropbox To Local"_s));
    EXPECT_LT(text.indexOf(u"Sync Dropbox To Local"_s), text.indexOf(u"<b>"_s));
    EXPECT_TRUE(text.endsWith(u"do nothing\n"_s));
    EXPECT_EQ(text, log.fullLog()[0].logStringWithDirection(true, true) + u'\n'
                        + log.fullLog()[1].logStringWithDirection(true, true) + u'\n'
                        + log.fullLog()[2].logStringWithDirection(false, true) + u'\n');
}

TEST_F(QLXSyncLogTest, SavesIntoANewFileEmptiesTheLogAndStartsTheUpload)
{
    std::atomic<int> uploads = 0;
    log.setUploadBlock([&] { ++uploads; });
    log.addStatus(status(u"French - English"_s, Action::pulled));
    const QString text = log.logString();

    log.saveLogAndClear();
    EXPECT_EQ(logFiles(), QStringList{u"500000000.txt"_s});
    EXPECT_EQ(contents(folders.logsFolderPath() + u"/500000000.txt"_s), text.toUtf8());
    EXPECT_TRUE(log.fullLog().isEmpty());
    EXPECT_EQ(log.statusLog().size(), 1);
    EXPECT_EQ(uploads, 1);

    // An empty log still makes a file; one in the same second does not replace the first.
    log.saveLogAndClear();
    EXPECT_EQ(logFiles(), (QStringList{u"500000000.txt"_s, u"500000001.txt"_s}));
    EXPECT_EQ(contents(folders.logsFolderPath() + u"/500000001.txt"_s), QByteArray());
    EXPECT_EQ(contents(folders.logsFolderPath() + u"/500000000.txt"_s), text.toUtf8());
    EXPECT_EQ(uploads, 2);
}

TEST_F(QLXSyncLogTest, SavesOnIntervalOnlyOnceHalfAnHourHasPassed)
{
    log.addStatus(status(u"a"_s, Action::pulled));
    clock.advance(QLXSyncLog::intervalBetweenSaves());
    log.saveLogOnIntervalAndClear();
    EXPECT_TRUE(logFiles().isEmpty());
    // The wall clock does not count: a learner setting it back changes nothing.
    clock.setNow(lexi::Date::fromSecondsSinceReferenceDate(400000000.5));
    clock.advance(std::chrono::seconds(1));
    log.saveLogOnIntervalAndClear();
    EXPECT_EQ(logFiles(), QStringList{u"400000001.txt"_s});
    EXPECT_TRUE(log.fullLog().isEmpty());

    clock.advance(std::chrono::seconds(60));
    log.saveLogOnIntervalAndClear();
    EXPECT_EQ(logFiles().size(), 1);
}

TEST_F(QLXSyncLogTest, TidyingKeepsTheHundredFilesMadeLast)
{
    // Made in falling order of their names: when they were made decides, not the name.
    const QString folder = folders.logsFolderPath();
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-1);
    for (int i = 0; i < 104; ++i) {
        QFile file(folder + u'/' + QString::number(400000103 - i) + u".txt"_s);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.setFileTime(start.addSecs(i), QFileDevice::FileModificationTime);
    }
    log.tidyLogFolder();
    const QStringList kept = logFiles();
    EXPECT_EQ(kept.size(), 100);
    EXPECT_EQ(kept.first(), u"400000000.txt"_s);
    EXPECT_EQ(kept.last(), u"400000099.txt"_s);
}

TEST_F(QLXSyncLogTest, RendersTheStatusLines)
{
    lexi::test::FakeVocabularyServices fakes;
    const auto vocabulary = Lexicarta::create(fakes.services);
    vocabulary->setForeignLanguageName(u"French"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    EXPECT_EQ(log.syncStatusForAllLangsString(), QString());
    EXPECT_EQ(log.syncStatusForVocabulary(*vocabulary), std::nullopt);

    log.addStatus(status(u"french - english"_s, Action::merged));
    log.addStatus(status(u"Logs/German - English.qlxv"_s, Action::unchanged));
    log.addStatus(status(u"Spanish - English"_s, Action::failed));
    clock.advance(std::chrono::hours(3));
    EXPECT_EQ(log.syncStatusForAllLangsString(),
              u"Synchronised 3 Hours ago: french - english (merged)\n"
              u"Synchronised 3 Hours ago: German - English (unchanged)\n"
              u"Synchronised 3 Hours ago: Spanish - English (failed)\n"_s);
    EXPECT_EQ(log.syncStatusForVocabulary(*vocabulary), u"Last synchronised 3 Hours ago (merged)"_s);
}

} // namespace
