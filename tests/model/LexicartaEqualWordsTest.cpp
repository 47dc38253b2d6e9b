#include "support/ConsoleCapture.h"
#include "support/FakeVocabularyServices.h"

#include "model/Lexicarta.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;
using lexi::WordList;

namespace {

// What a pass over the words answers: whether one has the same foreign and your word.
bool holdsEqualWordByScan(const Lexicarta &vocabulary, const QLXWord &candidate)
{
    const WordList words = vocabulary.allWords();
    return std::any_of(words.cbegin(), words.cend(),
                       [&candidate](const std::shared_ptr<QLXWord> &word) { return word->isEqualToWord(candidate); });
}

std::shared_ptr<QLXWord> word(const QString &yourWord, const QString &foreignWord)
{
    return std::make_shared<QLXWord>(yourWord, foreignWord);
}

// Texts that look alike but differ by a unit, and texts that are equal though typed otherwise:
// the vocabulary, which has not found its synonyms, answers as the pass over its words does.
TEST(LexicartaEqualWordsTest, TellsAnEqualWordAsComparingEveryWordDoes)
{
    lexi::test::FakeVocabularyServices fakes;
    const std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    const QString composed = u"caf\u00e9"_s;
    const QString decomposed = u"cafe\u0301"_s;
    vocabulary->setAllWords({word(u"the cat"_s, u"die Katze"_s), word(composed, u"das Caf\u00e9"_s),
                             word(u"Stra\u00dfe"_s, u"street"_s), word(u""_s, u"nur fremd"_s),
                             word(u"\U0001F600 smile"_s, u"l\u00e4cheln"_s), word(u"twice"_s, u"zweimal"_s)});
    // The same word object listed twice is still one word to look for.
    vocabulary->setAllWords(vocabulary->allWords() + WordList{vocabulary->allWords().last()});

    struct Case
    {
        QString yourWord;
        QString foreignWord;
        bool held;
    };
    const Case cases[] = {
        {u"the cat"_s, u"die Katze"_s, true},
        {u"  the cat\t"_s, u" die Katze "_s, true},  // a word's sides are trimmed
        {u"The cat"_s, u"die Katze"_s, false},
        {u"the cat"_s, u"die katze"_s, false},
        {u"the  cat"_s, u"die Katze"_s, false},
        {u"the\u00a0cat"_s, u"die Katze"_s, false},
        {u"die Katze"_s, u"the cat"_s, false},  // the sides swapped
        {u"the cat"_s, u""_s, false},
        {composed, u"das Caf\u00e9"_s, true},
        {decomposed, u"das Caf\u00e9"_s, false},
        {composed, u"das Cafe\u0301"_s, false},
        {u"Strasse"_s, u"street"_s, false},
        {u"STRASSE"_s, u"street"_s, false},
        {u""_s, u"nur fremd"_s, true},
        {u""_s, u""_s, false},
        {u"\U0001F600 smile"_s, u"l\u00e4cheln"_s, true},
        {u"\U0001F601 smile"_s, u"l\u00e4cheln"_s, false},
        {u"twice"_s, u"zweimal"_s, true},
    };
    for (const Case &test : cases) {
        const QLXWord candidate(test.yourWord, test.foreignWord);
        EXPECT_EQ(vocabulary->containsWordEqualTo(candidate), test.held) << test.yourWord.toStdString();
        EXPECT_EQ(vocabulary->containsWordEqualTo(candidate), holdsEqualWordByScan(*vocabulary, candidate))
            << test.yourWord.toStdString();
    }
}

// Adds of every kind, edits of either side (also of words listed twice and of words that left),
// removals, merges, and the synonyms found and dropped between them: after each change the vocabulary
// answers for every pair of a small set of sides as the pass over its words does.
TEST(LexicartaEqualWordsTest, FollowingEachChangeAnswersAsComparingEveryWord)
{
    lexi::test::ConsoleCapture console;
    lexi::test::FakeVocabularyServices fakes;
    const QStringList sides{u"a"_s, u"A"_s, u"a "_s, u"b"_s, u"\u00e9"_s, u"e\u0301"_s, u""_s};
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        const auto below = [&random](qsizetype bound) {
            return qsizetype(std::uniform_int_distribution<qsizetype>(0, bound - 1)(random));
        };
        const auto side = [&] { return sides[below(sides.size())]; };
        const auto newWord = [&] { return word(side(), side()); };

        const std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
        WordList words;
        for (int i = 0; i < 20; ++i)
            words.append(newWord());
        words.append(words.first());
        vocabulary->setAllWords(words);
        WordList gone;
        for (int step = 0; step < 400; ++step) {
            const WordList all = vocabulary->allWords();
            const std::shared_ptr<QLXWord> listed = all.isEmpty() ? nullptr : all[below(all.size())];
            const qsizetype change = listed ? below(13) : 0;
            switch (change) {
            case 0:
                vocabulary->addWord(newWord());
                break;
            case 1:
                vocabulary->batchAddWords({newWord(), newWord(), listed});
                break;
            case 2: {
                Lexicarta::PreparedAddition addition = vocabulary->prepareAddition();
                addition.append({newWord(), newWord()});
                ASSERT_TRUE(vocabulary->addPrepared(std::move(addition)));
                break;
            }
            case 3:
                listed->setYourWord(side());
                break;
            case 4:
                listed->setForeignWord(side());
                break;
            case 5:
                vocabulary->removeWord(listed);
                gone.append(listed);
                break;
            case 6:
                vocabulary->removeWords({listed, all[below(all.size())]});
                gone.append(listed);
                break;
            case 7:
                if (!gone.isEmpty())
                    gone[below(gone.size())]->setYourWord(side());
                break;
            case 8:
                vocabulary->synonyms();
                break;
            case 9:
                vocabulary->invalidateSynonyms();
                break;
            case 10:
                vocabulary->deleteDuplicates();
                vocabulary->invalidateSynonyms();
                break;
            case 11: {
                // A merge made on another thread, whose words replace these.
                const std::shared_ptr<Lexicarta> other = Lexicarta::create(fakes.services);
                other->setAllWords({newWord(), newWord()});
                Lexicarta::PreparedMerge merge = vocabulary->prepareMerge();
                merge.merge(*other);
                ASSERT_TRUE(vocabulary->takePreparedMerge(std::move(merge)));
                break;
            }
            default:
                vocabulary->setAllWords(all + WordList{listed});
                break;
            }
            for (const QString &yourWord : sides) {
                for (const QString &foreignWord : sides) {
                    const QLXWord candidate(yourWord, foreignWord);
                    ASSERT_EQ(vocabulary->containsWordEqualTo(candidate), holdsEqualWordByScan(*vocabulary, candidate))
                        << "seed " << seed << ", step " << step << ", change " << change << ", <"
                        << yourWord.toStdString() << "> <" << foreignWord.toStdString() << ">";
                }
            }
        }
    }
}

} // namespace
