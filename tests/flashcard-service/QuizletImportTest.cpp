#include "support/FakeVocabularyServices.h"
#include "support/RecordingKeeper.h"

#include "flashcard-service/QuizletImport.h"
#include "flashcard-service/QuizletPopupState.h"
#include "flashcard-service/QuizletTexts.h"
#include "model/CreationIdentifiers.h"
#include "model/Lexicarta.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::QuizletImportCounts;
using lexi::QuizletPopupState;

namespace {

// A set of the service: each term is the learner's word ("spoon"), its definition the foreign
// word ("Löffel").
QLXQuizletSet kitchenSet(const QList<std::pair<QString, QString>> &terms)
{
    QLXQuizletSet set;
    set.setIdentifier(u"415"_s);
    set.setTitle(u"Kitchen A1"_s);
    QList<QLXQuizletTerm> entries;
    for (const auto &[term, definition] : terms)
        entries.append(QLXQuizletTerm::quizletTermWithYourWord(term, definition));
    set.setTerms(entries);
    return set;
}

const QList<std::pair<QString, QString>> threeTerms{{u"spoon"_s, u"Löffel"_s}, {u"fork"_s, u"Gabel"_s},
                                                    {u"knife"_s, u"Messer"_s}};

class QuizletImportTest : public testing::Test
{
protected:
    QuizletImportTest() { m_recording.keeper.setVocabulary(m_vocabulary); }

    std::shared_ptr<Lexicarta> newVocabulary() const
    {
        auto vocabulary = Lexicarta::create(m_fakes.services);
        vocabulary->setForeignLanguageName(u"German"_s);
        vocabulary->setYourLanguageName(u"English"_s);
        return vocabulary;
    }

    static std::shared_ptr<QLXWord> wordWithYourWord(const Lexicarta &vocabulary, const QString &yourWord)
    {
        for (const std::shared_ptr<QLXWord> &word : vocabulary.allWords()) {
            if (word->yourWord() == yourWord)
                return word;
        }
        return nullptr;
    }

    lexi::test::FakeVocabularyServices m_fakes;
    lexi::test::RecordingKeeper m_recording;
    std::shared_ptr<Lexicarta> m_vocabulary = newVocabulary();
};

TEST_F(QuizletImportTest, EachTermBecomesAWordTaggedWithTheSetsTitleAndTheChangeIsRecorded)
{
    EXPECT_EQ(lexi::importQuizletSet(kitchenSet(threeTerms), false, m_recording.keeper), (QuizletImportCounts{3, 0}));

    ASSERT_EQ(m_vocabulary->countAllWords(), 3);
    const auto spoon = wordWithYourWord(*m_vocabulary, u"spoon"_s);
    ASSERT_TRUE(spoon);
    EXPECT_EQ(spoon->foreignWord(), u"Löffel"_s);
    EXPECT_EQ(spoon->comment(), QString());
    EXPECT_EQ(spoon->tags(), QStringList{u"Kitchen A1"_s});
    EXPECT_EQ(spoon->level(), 0u);
    EXPECT_TRUE(m_vocabulary->needsSync());
    EXPECT_EQ(m_recording.saves, 1);
    EXPECT_EQ(m_recording.lastSaved, m_vocabulary.get());
    EXPECT_EQ(m_recording.sync.marks, 1);
    EXPECT_EQ(m_recording.sync.syncs, 0);
}

TEST_F(QuizletImportTest, ASecondImportAddsNothingButStillSavesAndMarks)
{
    lexi::importQuizletSet(kitchenSet(threeTerms), false, m_recording.keeper);
    m_vocabulary->setNeedsSync(false);

    EXPECT_EQ(lexi::importQuizletSet(kitchenSet(threeTerms), false, m_recording.keeper), (QuizletImportCounts{0, 3}));
    EXPECT_EQ(m_vocabulary->countAllWords(), 3);
    EXPECT_TRUE(m_vocabulary->needsSync());
    EXPECT_EQ(m_recording.saves, 2);
    EXPECT_EQ(m_recording.sync.marks, 2);
    EXPECT_EQ(m_recording.sync.syncs, 0);
}

TEST_F(QuizletImportTest, AnInvertedImportSwapsBothSidesOfEveryNewWord)
{
    EXPECT_EQ(lexi::importQuizletSet(kitchenSet(threeTerms), true, m_recording.keeper), (QuizletImportCounts{3, 0}));
    for (const auto &[term, definition] : threeTerms) {
        const auto word = wordWithYourWord(*m_vocabulary, definition);
        ASSERT_TRUE(word) << definition.toStdString();
        EXPECT_EQ(word->foreignWord(), term);
    }
    // The swapped words are other words than the unswapped ones.
    EXPECT_EQ(lexi::importQuizletSet(kitchenSet(threeTerms), false, m_recording.keeper), (QuizletImportCounts{3, 0}));
}

// Terms equal to a word there, or to an earlier term, are left out; the others are numbered
// from one fresh block in the order of the set, whatever order the vocabulary then keeps.
TEST_F(QuizletImportTest, TheKeptTermsGetConsecutiveIdentifiersInTheirOrder)
{
    const auto fork = std::make_shared<QLXWord>(u"fork"_s, u"Gabel"_s);
    m_vocabulary->addWord(fork);
    const QList<std::pair<QString, QString>> terms{{u"spoon"_s, u"Löffel"_s}, {u"fork"_s, u"Gabel"_s},
                                                   {u"bowl"_s, u"Schüssel"_s}, {u"spoon"_s, u"Löffel"_s},
                                                   {u"apron"_s, u"Schürze"_s}};

    EXPECT_EQ(lexi::importQuizletSet(kitchenSet(terms), false, m_recording.keeper), (QuizletImportCounts{3, 2}));
    ASSERT_EQ(m_vocabulary->countAllWords(), 4);
    const qint64 first = wordWithYourWord(*m_vocabulary, u"spoon"_s)->creationID();
    EXPECT_TRUE(lexi::CreationIdentifierMaker::isMadeHere(first));
    EXPECT_NE(first, fork->creationID());
    EXPECT_EQ(wordWithYourWord(*m_vocabulary, u"bowl"_s)->creationID(), first + 1);
    EXPECT_EQ(wordWithYourWord(*m_vocabulary, u"apron"_s)->creationID(), first + 2);
    EXPECT_NE(fork->creationID(), first + 1);
    EXPECT_NE(fork->creationID(), first + 2);
}

TEST_F(QuizletImportTest, NothingIsImportedWhileNoVocabularyIsOpen)
{
    m_recording.keeper.setVocabulary(nullptr);
    EXPECT_EQ(lexi::importQuizletSet(kitchenSet(threeTerms), false, m_recording.keeper), std::nullopt);
    EXPECT_EQ(m_recording.saves, 0);
}

// The popover keeps its set across a synchronisation that reloads the vocabulary: its import
// goes into the vocabulary open then, and that is the one saved.
TEST_F(QuizletImportTest, AnImportAfterTheVocabularyWasReplacedLandsInTheNewOne)
{
    QuizletPopupState popover;
    popover.setQuizletSet(kitchenSet(threeTerms), true);
    const auto reloaded = newVocabulary();
    m_recording.keeper.setVocabulary(reloaded);

    popover.import(m_recording.keeper);
    EXPECT_EQ(reloaded->countAllWords(), 3);
    EXPECT_EQ(m_vocabulary->countAllWords(), 0);
    EXPECT_EQ(m_recording.lastSaved, reloaded.get());
}

TEST_F(QuizletImportTest, ThePopoverImportsOnlyASetWithItsTermsAndOnlyOnce)
{
    QuizletPopupState popover;
    EXPECT_FALSE(popover.canImport());
    // A search reply may describe a set with some of its terms; the import waits for them all.
    popover.setQuizletSet(kitchenSet(threeTerms), false);
    EXPECT_FALSE(popover.canImport());
    popover.import(m_recording.keeper);
    EXPECT_EQ(m_recording.saves, 0);
    popover.setQuizletSet(QLXQuizletSet::placeholderSet(), true);
    EXPECT_FALSE(popover.canImport());

    popover.changeDirection();
    popover.setQuizletSet(kitchenSet(threeTerms), true);
    EXPECT_TRUE(popover.invertImportDirection());
    ASSERT_TRUE(popover.canImport());
    popover.import(m_recording.keeper);
    ASSERT_EQ(popover.importCounts(), (QuizletImportCounts{3, 0}));
    EXPECT_TRUE(wordWithYourWord(*m_vocabulary, u"Löffel"_s));
    EXPECT_EQ(lexi::quizlet::importCountsText(*popover.importCounts()),
              u"Words added: 3. Already in your vocabulary: 0."_s);
    EXPECT_FALSE(popover.canImport());
    popover.import(m_recording.keeper);
    EXPECT_EQ(m_recording.saves, 1);

    // Showing the set again starts afresh.
    popover.setQuizletSet(kitchenSet(threeTerms), true);
    EXPECT_EQ(popover.importCounts(), std::nullopt);
    EXPECT_TRUE(popover.canImport());
}

} // namespace
