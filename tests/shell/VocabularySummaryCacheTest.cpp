#include "ShellTestSupport.h"

#include "shell/VocabularySummaryCache.h"

#include "model/AvailableLanguages.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::VocabularySummaryCache;

namespace {

class VocabularySummaryCacheTest : public testing::Test
{
protected:
    // The summaries the cache gives now, as "display name: word count".
    QStringList rows()
    {
        QStringList rows;
        for (const auto &entry : cache.summaries(files(), [this] { ++updates; }))
            rows.append(entry.summary.displayName + u": "_s + QString::number(entry.summary.numberOfWords));
        return rows;
    }

    QList<QLXFile> files() { return lexi::loadAllAvailableLanguages(here.folders); }

    // Lets the cache read what it was handed and tell the main thread.
    void finishReading()
    {
        cache.waitUntilRead();
        QCoreApplication::processEvents();
    }

    lexi::test::LanguagesInstallation languages;
    lexi::test::SyncInstallation &here = languages.here;
    VocabularySummaryCache cache{here.storage};
    int updates = 0;
};

TEST_F(VocabularySummaryCacheTest, ReadsFilesOffTheMainThreadOnceUntilTheyChange)
{
    languages.addVocabulary(u"French"_s, u"English"_s, {u"chat"_s, u"chien"_s});
    languages.addVocabulary(u"German"_s, u"English"_s, {u"Hund"_s});

    EXPECT_EQ(rows(), QStringList());
    finishReading();
    EXPECT_EQ(updates, 1);
    QStringList read = rows();
    read.sort();
    EXPECT_EQ(read, (QStringList{u"French - English: 2"_s, u"German - English: 1"_s}));
    EXPECT_FALSE(cache.isReading());

    // A file saved again is read again; the other one is not.
    languages.addVocabulary(u"French"_s, u"English"_s, {u"chat"_s, u"chien"_s, u"oiseau"_s});
    read = rows();
    EXPECT_EQ(read, QStringList{u"German - English: 1"_s});
    finishReading();
    EXPECT_EQ(updates, 2);
    read = rows();
    read.sort();
    EXPECT_EQ(read, (QStringList{u"French - English: 3"_s, u"German - English: 1"_s}));
    EXPECT_EQ(updates, 2);
}

TEST_F(VocabularySummaryCacheTest, AFileThatDoesNotLoadIsLeftOutUntilItChanges)
{
    const QString path = languages.addVocabulary(u"French"_s, u"English"_s, {u"chat"_s});
    const QByteArray good = lexi::test::contents(path);
    lexi::test::put(path, "damaged");

    rows();
    finishReading();
    EXPECT_EQ(rows(), QStringList());
    EXPECT_FALSE(cache.isReading());

    lexi::test::put(path, good);
    rows();
    finishReading();
    EXPECT_EQ(rows(), QStringList{u"French - English: 1"_s});
}

TEST_F(VocabularySummaryCacheTest, KeepsWhatTheLanguagesPageEdits)
{
    auto vocabulary = Lexicarta::create(here.services);
    vocabulary->setForeignLanguageName(u"French"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    vocabulary->setYourFacultativeWords({u"to"_s});
    vocabulary->setForeignFacultativeWords({u"le"_s, u"la"_s});
    vocabulary->setYourTextInputSourceId(u"xkb:us"_s);
    vocabulary->setForeignTextInputSourceId(u"xkb:fr"_s);
    vocabulary->setIsAutoSelectInputSource(true);
    here.storage.saveVocabulary(vocabulary.get());
    here.storage.flushSaves();

    rows();
    finishReading();
    const auto entries = cache.summaries(files(), {});
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.front().summary, lexi::VocabularySummary::of(*vocabulary));
    EXPECT_EQ(entries.front().file.filePath(), *here.storage.savePathForVocabulary(*vocabulary));
}

} // namespace
