#include "SyncTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <random>

using namespace Qt::StringLiterals;
using lexi::test::SyncInstallation;

namespace {

const QString french = u"French - English.qlxv"_s;

// Unison, a real file-sync client, carrying the files between two cloud folders as a learner
// would set it up: without asking, the newer file winning a conflict.
class Unison
{
public:
    // `options`: more of unison's options.
    Unison(const QString &first, const QString &second, const QStringList &options = {})
        : m_first(first), m_second(second), m_options(options)
    {
    }

    // One run; false when unison could not be run or failed. A run that reports a file it could
    // not carry (exit status 2, which a busy machine sometimes gives) is repeated once, as a
    // file-sync client would at its next pass.
    bool run()
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"UNISON"_s, m_state.path());
            process.setProcessEnvironment(environment);
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.start(QStandardPaths::findExecutable(u"unison"_s),
                          QStringList{m_first, m_second, u"-batch"_s, u"-prefer"_s, u"newer"_s, u"-times"_s,
                                      u"-silent"_s}
                              + m_options);
            const bool finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
            if (finished && process.exitCode() <= 1)
                return true;
            m_lastOutput = QString::fromUtf8(process.readAll());
            if (!finished || process.exitCode() != 2)
                return false;
        }
        return false;
    }

    // What the last failed run said.
    const QString &lastOutput() const { return m_lastOutput; }

private:
    QString m_first;
    QString m_second;
    QStringList m_options;
    QTemporaryDir m_state;
    QString m_lastOutput;
};

// What a vocabulary file holds: how many words each foreign word stands for.
std::map<QString, int> wordCounts(const SyncInstallation &installation, const QString &path)
{
    std::map<QString, int> counts;
    if (const auto vocabulary = installation.storage.vocabularyFromFile(path)) {
        for (const auto &word : vocabulary->allWords())
            ++counts[word->foreignWord()];
    }
    return counts;
}

// A word deleted on one installation, and whether a synchronisation elsewhere kept it: one that
// merged its copy with the cloud's, which keeps every word of both, as the cloud file had changed
// since the installation last saw it while its copy had changed too, or as the client had kept
// one of two new versions (a fork); or one that did not merge and should have let it go.
struct Deletion
{
    QString word;
    bool keptByAMerge = false;
    bool keptByAFork = false;
    bool keptOtherwise = false;
};

TEST(UnisonTest, TwoInstallationsBehindUnisonLoseNoWordOverManyRounds)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(u"unison"_s).isEmpty()) << "unison is not installed";
    QTemporaryDir cloudA;
    QTemporaryDir cloudB;
    SyncInstallation a(cloudA.path(), u"machine-a"_s);
    SyncInstallation b(cloudB.path(), u"machine-b"_s);
    Unison unison(cloudA.path(), cloudB.path());
    std::mt19937 random(16);
    const auto chance = [&random](int percent) { return int(random() % 100) < percent; };

    std::set<QString> added;
    std::vector<Deletion> deletions;
    const auto addWords = [&](Lexicarta &vocabulary, const QString &prefix) {
        const int count = 1 + int(random() % 3);
        for (int i = 0; i < count; ++i) {
            const QString foreign = prefix + QString::number(added.size());
            vocabulary.addWord(std::make_shared<QLXWord>(u"your "_s + foreign, foreign));
            added.insert(foreign);
        }
    };
    // Adds, answers, edits and deletes some words, then saves as the program does.
    const auto work = [&](SyncInstallation &installation, const QString &prefix) {
        std::shared_ptr<Lexicarta> vocabulary = installation.load();
        if (!vocabulary) {
            vocabulary = installation.french({}, 0, true);
            addWords(*vocabulary, prefix);
        }
        if (chance(70))
            addWords(*vocabulary, prefix);
        const lexi::WordList words = vocabulary->allWords();
        for (int i = 0; i < 3 && chance(60); ++i)
            vocabulary->answeredWord(*words[qsizetype(random() % words.size())], chance(70) ? 1 : -1);
        if (chance(30)) {
            const auto &word = words[qsizetype(random() % words.size())];
            word->setComment(u"edited on "_s + prefix);
            word->setModificationID(qint64(installation.clock.now().secondsSince1970()));
        }
        if (words.size() > 3 && chance(35)) {
            const auto &word = words[qsizetype(random() % words.size())];
            deletions.push_back({word->foreignWord()});
            vocabulary->removeWord(word);
        }
        installation.saveChanged(*vocabulary);
    };
    // A copy with changes of its own is merged with a cloud file that changed since this
    // installation last saw it, and so is one that a fork replaced; any other is replaced, or
    // replaces the cloud file.
    std::map<const SyncInstallation *, QByteArray> lastSeen;
    std::map<const SyncInstallation *, bool> forkedSinceSeen;
    const auto sync = [&](SyncInstallation &installation) {
        const QString localFile = installation.vocabularyPath(french);
        const QString cloudFile = installation.cloud.folderPath().value_or(QString()) + u'/' + french;
        const auto vocabulary = installation.load();
        const bool merges = vocabulary && vocabulary->needsSync()
                            && lexi::test::contents(cloudFile) != lastSeen[&installation];
        const bool forked = forkedSinceSeen[&installation];
        const std::map<QString, int> localBefore = wordCounts(installation, localFile);
        const std::map<QString, int> cloudBefore = wordCounts(installation, cloudFile);
        installation.sync();
        const std::map<QString, int> localAfter = wordCounts(installation, localFile);
        for (Deletion &deletion : deletions) {
            if (!localAfter.count(deletion.word))
                continue;
            // The deletion had come here and was not taken, or the word came back from the cloud (a
            // copy that did not take the deletion was carried there: that one is told apart where
            // it did not take it).
            const bool arrived = localBefore.count(deletion.word) && !cloudBefore.count(deletion.word);
            const bool cameBack = !localBefore.count(deletion.word) && cloudBefore.count(deletion.word);
            if (arrived || cameBack) {
                deletion.keptByAFork = deletion.keptByAFork || forked;
                deletion.keptByAMerge = deletion.keptByAMerge || (merges && !forked);
            }
            deletion.keptOtherwise = deletion.keptOtherwise || (arrived && !merges && !forked);
        }
        lastSeen[&installation] = lexi::test::contents(cloudFile);
        forkedSinceSeen[&installation] = false;
    };
    // The client keeps the newer of two files that both changed since its last run.
    int forks = 0;
    QByteArray carriedA;
    QByteArray carriedB;
    const auto runUnison = [&] {
        const bool forked = lexi::test::contents(cloudA.filePath(french)) != carriedA
                            && lexi::test::contents(cloudB.filePath(french)) != carriedB
                            && !carriedA.isEmpty();
        forks += forked ? 1 : 0;
        forkedSinceSeen[&a] = forkedSinceSeen[&a] || forked;
        forkedSinceSeen[&b] = forkedSinceSeen[&b] || forked;
        const bool ran = unison.run();
        carriedA = lexi::test::contents(cloudA.filePath(french));
        carriedB = lexi::test::contents(cloudB.filePath(french));
        return ran;
    };

    constexpr int rounds = 60;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        // The learner comes to one of the machines, whose program synchronises then and after the
        // learner's changes; now and then the other one changes too before it synchronises. The
        // client mostly carries one machine's file before the other synchronises, but not always:
        // then it finds both files changed and keeps the newer one.
        SyncInstallation &active = chance(50) ? a : b;
        SyncInstallation &other = &active == &a ? b : a;
        sync(active);
        work(active, &active == &a ? u"a"_s : u"b"_s);
        if (chance(35))
            work(other, &other == &a ? u"a"_s : u"b"_s);
        if (chance(80))
            sync(active);
        if (chance(60)) {
            ASSERT_TRUE(runUnison()) << unison.lastOutput().toStdString();
        }
        if (chance(80))
            sync(other);
        ASSERT_TRUE(runUnison()) << unison.lastOutput().toStdString();
    }
    // Everything settles once both have synchronised with nothing new.
    for (int settle = 0; settle < 3; ++settle) {
        sync(a);
        ASSERT_TRUE(runUnison()) << unison.lastOutput().toStdString();
        sync(b);
        ASSERT_TRUE(runUnison()) << unison.lastOutput().toStdString();
    }

    std::set<QString> deleted;
    for (const Deletion &deletion : deletions)
        deleted.insert(deletion.word);
    for (SyncInstallation *installation : {&a, &b}) {
        const std::map<QString, int> counts = wordCounts(*installation, installation->vocabularyPath(french));
        int lost = 0;
        int resurrected = 0;
        int resurrectedByAFork = 0;
        int resurrectedByAMerge = 0;
        int resurrectedOtherwise = 0;
        int doubled = 0;
        for (const QString &word : added) {
            if (!deleted.count(word))
                lost += counts.count(word) ? 0 : 1;
        }
        for (const Deletion &deletion : deletions) {
            if (!counts.count(deletion.word))
                continue;
            ++resurrected;
            resurrectedOtherwise += deletion.keptOtherwise ? 1 : 0;
            resurrectedByAFork += !deletion.keptOtherwise && deletion.keptByAFork ? 1 : 0;
            resurrectedByAMerge += !deletion.keptOtherwise && !deletion.keptByAFork ? 1 : 0;
        }
        for (const auto &[word, count] : counts) {
            EXPECT_TRUE(added.count(word)) << word.toStdString();
            doubled += count - 1;
        }
        EXPECT_EQ(lost, 0);
        EXPECT_EQ(doubled, 0);
        // A merge keeps the words of both copies, deleted or not, as it is meant to; anywhere else
        // a deletion sticks.
        EXPECT_EQ(resurrectedOtherwise, 0);
        if (installation == &a)
            std::cout << "rounds: " << rounds << ", forks: " << forks << ", words added: " << added.size()
                  << ", deleted: " << deletions.size() << ", lost: " << lost << ", resurrected: " << resurrected
                  << " (after a fork: " << resurrectedByAFork << ", by a merge of two changed copies: "
                  << resurrectedByAMerge << ", otherwise: " << resurrectedOtherwise << "), doubled: " << doubled
                      << std::endl;
    }
    EXPECT_EQ(lexi::test::contents(a.vocabularyPath(french)), lexi::test::contents(b.vocabularyPath(french)));
}

TEST(UnisonTest, TheCopiesUnisonKeepsOfAConflictAreMergedOnBothMachines)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(u"unison"_s).isEmpty()) << "unison is not installed";
    QTemporaryDir cloudA;
    QTemporaryDir cloudB;
    SyncInstallation a(cloudA.path(), u"machine-a"_s);
    SyncInstallation b(cloudB.path(), u"machine-b"_s);
    // Unison keeps the file it replaces as "<name> (conflict_on_<date>)", and later ones of the
    // same day as "<name> (conflict #<n>_on_<date>)".
    Unison unison(cloudA.path(), cloudB.path(), {u"-copyonconflict"_s});
    a.saveChanged(*a.french({{u"chat"_s}}, 0, true));
    a.sync();
    ASSERT_TRUE(unison.run()) << unison.lastOutput().toStdString();
    b.sync();

    QStringList all = {u"chat"_s};
    for (int conflict = 0; conflict < 2; ++conflict) {
        for (SyncInstallation *installation : {&a, &b}) {
            auto vocabulary = installation->load();
            all.append(u"%1 %2"_s.arg(installation == &a ? u"a"_s : u"b"_s).arg(conflict));
            SyncInstallation::addWord(*vocabulary, {all.last()});
            installation->saveChanged(*vocabulary);
            installation->sync();
            installation->clock.advance(std::chrono::seconds(2));
        }
        ASSERT_TRUE(unison.run()) << unison.lastOutput().toStdString();
        a.sync();
        b.sync();
        ASSERT_TRUE(unison.run()) << unison.lastOutput().toStdString();
        a.sync();
        b.sync();
    }

    all.sort();
    EXPECT_EQ(a.foreignWords(a.vocabularyPath(french)), all);
    EXPECT_EQ(b.foreignWords(b.vocabularyPath(french)), all);
    // The copies went to the backups; only languages are left.
    EXPECT_EQ(a.vocabularyFiles(), QStringList{french});
    EXPECT_EQ(QDir(cloudA.path()).entryList(QDir::Files), QStringList{french});
    EXPECT_EQ(QDir(cloudB.path()).entryList(QDir::Files), QStringList{french});
}

} // namespace
