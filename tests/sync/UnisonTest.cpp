#include "SyncTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    Unison(const QString &first, const QString &second) : m_first(first), m_second(second) {}

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
                          {m_first, m_second, u"-batch"_s, u"-prefer"_s, u"newer"_s, u"-times"_s, u"-silent"_s});
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
    QTemporaryDir m_state;
    QString m_lastOutput;
};

// What a vocabulary holds: how many words each creationID stands for.
std::map<qint64, int> wordCounts(const SyncInstallation &installation)
{
    std::map<qint64, int> counts;
    if (const auto vocabulary = installation.load()) {
        for (const auto &word : vocabulary->allWords())
            ++counts[word->creationID()];
    }
    return counts;
}

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

    std::set<qint64> added;
    const auto addWords = [&](Lexicarta &vocabulary, const QString &prefix) {
        const int count = 1 + int(random() % 3);
        for (int i = 0; i < count; ++i) {
            auto word = std::make_shared<QLXWord>(u"your "_s + prefix + QString::number(added.size()),
                                                  prefix + QString::number(added.size()));
            vocabulary.addWord(word);
            added.insert(word->creationID());
        }
    };
    // Adds, answers and edits some words, then saves as the program does.
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
        installation.saveChanged(*vocabulary);
    };

    constexpr int rounds = 40;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        if (chance(80))
            work(a, u"a"_s);
        if (chance(80))
            work(b, u"b"_s);
        // Either may synchronise first, or not at all this round; the client runs in between.
        if (chance(50)) {
            if (chance(80))
                a.sync();
            if (chance(80))
                b.sync();
        } else {
            if (chance(80))
                b.sync();
            if (chance(80))
                a.sync();
        }
        ASSERT_TRUE(unison.run()) << unison.lastOutput().toStdString();
    }
    // Everything settles once both have synchronised with nothing new.
    for (int settle = 0; settle < 3; ++settle) {
        a.sync();
        ASSERT_TRUE(unison.run()) << unison.lastOutput().toStdString();
        b.sync();
        ASSERT_TRUE(unison.run()) << unison.lastOutput().toStdString();
    }

    for (SyncInstallation *installation : {&a, &b}) {
        const std::map<qint64, int> counts = wordCounts(*installation);
        int lost = 0;
        for (const qint64 identifier : added)
            lost += counts.count(identifier) ? 0 : 1;
        EXPECT_EQ(lost, 0);
        // Nothing came in twice, and nothing but what was added.
        EXPECT_EQ(counts.size(), added.size());
        for (const auto &[identifier, count] : counts)
            EXPECT_EQ(count, 1) << identifier;
        std::cout << "rounds: " << rounds << ", words added: " << added.size() << ", words lost: " << lost
                  << std::endl;
    }
    EXPECT_EQ(lexi::test::contents(a.vocabularyPath(french)), lexi::test::contents(b.vocabularyPath(french)));
}

} // namespace
