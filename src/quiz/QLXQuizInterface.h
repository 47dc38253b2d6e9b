#pragma once

#include "model/Lexicarta.h"
#include "model/QLXRandom.h"
#include "model/QLXWord.h"

#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"

#include <QSet>
#include <QString>

#include <array>
#include <memory>

// What the three quiz modes share, without any display: the settings of one quiz run (the memory
// levels to ask, the direction, the tag filter, the number of words), the choice of the words
// from the vocabulary, the order in which they are asked, handing them out one at a time, and
// the edit distance by which a typed answer is judged. Used on the main thread.
class QLXQuizInterface
{
public:
    // Levels 0 to 4 switched on, native words off; the foreign word asked; no tag filter; 30 words.
    // Whether comments are shown with the question is read from `defaults`, which must outlive
    // the quiz.
    explicit QLXQuizInterface(lexi::Defaults &defaults);
    QLXQuizInterface(const QLXQuizInterface &) = delete;
    QLXQuizInterface &operator=(const QLXQuizInterface &) = delete;
    virtual ~QLXQuizInterface() = default;

    // The vocabulary the quiz asks from and records into.
    const std::shared_ptr<Lexicarta> &vocabulary() const { return m_vocabulary; }
    void setVocabulary(const std::shared_ptr<Lexicarta> &vocabulary) { m_vocabulary = vocabulary; }

    // The level switches: 0 unknown, 1 ultra-short, 2 short, 3 mid, 4 long term, 5 native.
    bool askUnknown() const { return m_askLevel[0]; }
    void setAskUnknown(bool ask) { m_askLevel[0] = ask; }
    bool askUltrashort() const { return m_askLevel[1]; }
    void setAskUltrashort(bool ask) { m_askLevel[1] = ask; }
    bool askShortterm() const { return m_askLevel[2]; }
    void setAskShortterm(bool ask) { m_askLevel[2] = ask; }
    bool askMidterm() const { return m_askLevel[3]; }
    void setAskMidterm(bool ask) { m_askLevel[3] = ask; }
    bool askLongterm() const { return m_askLevel[4]; }
    void setAskLongterm(bool ask) { m_askLevel[4] = ask; }
    bool askNative() const { return m_askLevel[5]; }
    void setAskNative(bool ask) { m_askLevel[5] = ask; }

    // The learner types the foreign word (the question shows yourWord), or the own-language word;
    // with both on each question draws its direction.
    bool askForForeignWord() const { return m_askForForeignWord; }
    void setAskForForeignWord(bool ask) { m_askForForeignWord = ask; }
    bool askForYourWord() const { return m_askForYourWord; }
    void setAskForYourWord(bool ask) { m_askForYourWord = ask; }

    // Empty means no filter. A word must carry every one of the tags (isWordsMustMatchAllTags) or
    // at least one of them.
    const QSet<QString> &filterTags() const { return m_filterTags; }
    void setFilterTags(const QSet<QString> &tags) { m_filterTags = tags; }
    bool isWordsMustMatchAllTags() const { return m_isWordsMustMatchAllTags; }
    void setIsWordsMustMatchAllTags(bool mustMatchAll) { m_isWordsMustMatchAllTags = mustMatchAll; }

    bool isShowCommentWithQuestion() const { return m_isShowCommentWithQuestion; }
    void setIsShowCommentWithQuestion(bool show) { m_isShowCommentWithQuestion = show; }

    // The number of words wanted; once a run is chosen, the number it holds.
    qint64 numberOfWordsToAsk() const { return m_numberOfWordsToAsk; }
    void setNumberOfWordsToAsk(qint64 number) { m_numberOfWordsToAsk = number; }

    // The position in wordsToAsk of the word being asked; -1 before the first.
    qint64 askIndex() const { return m_askIndex; }
    void setAskIndex(qint64 index) { m_askIndex = index; }

    // The words of this run in asking order.
    const lexi::WordList &wordsToAsk() const { return m_wordsToAsk; }
    // The run asks exactly `words`, in this order, from its start (the wrongly answered words
    // asked again).
    void askInOrder(const lexi::WordList &words);
    // `word` takes the place of the word just asked, which comes next; a later place of `word`
    // in the run is given up. Whether `word` was part of the run (a synonym answered instead of
    // the word asked).
    bool putInPlaceOfAskedWord(const std::shared_ptr<QLXWord> &word);
    // `words` are not asked in the rest of the run (they were deleted).
    void removeFromRestOfRun(const lexi::WordList &words);
    // The word just asked leaves the run unanswered (it was deleted): the run holds one word
    // fewer, and the next word comes next.
    void removeAskedWord();

    // The source of every random choice of the run and of the quiz modes' direction draws.
    QLXRandom &random() { return m_random; }
    void setRandom(QLXRandom random) { m_random = std::move(random); }

    // Chooses the words of a run by the settings and hands them to setWordsToAsk(). First the due
    // words of the levels switched on except native ones, thinned out at random to the number
    // wanted; then the longest-due native words; then, while words are missing, random words of
    // the chosen levels, due or not, shared out among the levels. Words not to be asked again
    // never come in. No vocabulary, no level switched on or no word wanted gives an empty run.
    void createWordsToAsk();
    // Shuffles `words` into wordsToAsk, groups them by tag (each word once) and takes their number
    // as numberOfWordsToAsk; the run starts again before its first word. Rereads whether comments
    // are shown with the question.
    void setWordsToAsk(const lexi::WordList &words);
    // The next word of the run, or none once the run is over (and on every later call).
    std::shared_ptr<QLXWord> nextWordToAsk();

    // The number of single edits (insert, delete or replace one UTF-16 unit, or swap two
    // neighbouring ones) that turn one text into the other, where no unit is edited again after
    // its swap. Case and accents count; nothing is trimmed.
    static qint64 distanceBetween(const QString &a, const QString &b);
    // Reorders `words` so that words sharing a tag follow one another, the untagged ones forming
    // a group of their own; a word with several tags joins the first of its groups. The order
    // within a group is kept; repeats and empty entries are dropped.
    static void clusterTagsInArray(lexi::WordList &words);

private:
    lexi::WordList chooseWords();

    lexi::Settings m_settings;
    std::shared_ptr<Lexicarta> m_vocabulary;
    std::array<bool, 6> m_askLevel = {true, true, true, true, true, false};
    bool m_askForForeignWord = true;
    bool m_askForYourWord = false;
    bool m_isWordsMustMatchAllTags = false;
    bool m_isShowCommentWithQuestion = false;
    QSet<QString> m_filterTags;
    qint64 m_numberOfWordsToAsk = 30;
    qint64 m_askIndex = -1;
    lexi::WordList m_wordsToAsk;
    QLXRandom m_random;
};
