#pragma once

#include "AnswerJudging.h"
#include "QuizResults.h"

#include "model/QLXWord.h"

#include <memory>

class QLXQuizInterface;

namespace lexi {

class VocabularyKeeper;

// One run of a quiz mode, without any display: the word on the card and the word of the verdict
// shown beside it, the counters, the wrongly answered words, and the rules every mode shares —
// a synonym answered in place of the word asked, the "I knew it" and "don't ask again" boxes
// settled at the next step, words deleted while the run goes on. Every outcome is recorded in the
// open vocabulary through the keeper at once (answer, needs sync, file marked, save handed over).
//
// The run asks the words of a QLXQuizInterface (the mode's settings and word list) from the
// vocabulary the keeper holds; the mode's page shows what the run says.
class QuizRun
{
public:
    // What the learner's answer to nextWord() came to.
    struct Judgement
    {
        AnswerVerdict verdict = AnswerVerdict::Wrong;
        // A synonym was answered and counts in place of the word asked, which comes next.
        bool isSynonym = false;
    };

    // Both must outlive the run.
    QuizRun(QLXQuizInterface &quiz, VocabularyKeeper &keeper);

    // Starts with the quiz's words from zero: no answers, no wrong words, the first question.
    void start();
    // Asks the words answered wrongly or misspelled in the run that ended, in the order they were
    // answered. False (and nothing changes) when there are none or a run goes on.
    bool restartWithWrong();
    // The results come up: the last word's boxes are settled and the run is recorded once more.
    void finish(bool dontAskAgain, bool iKnewIt);
    // The learner left the run: nothing more of it is asked or recorded.
    void end();

    bool isInProgress() const { return m_isInProgress; }
    // The question on the card; none once every word was asked.
    const std::shared_ptr<QLXWord> &nextWord() const { return m_nextWord; }
    // The word whose verdict shows (the last answered); its boxes settle at the next step.
    const std::shared_ptr<QLXWord> &lastWord() const { return m_lastWord; }
    // The last word's level before its answer.
    quint64 lastWordOriginLevel() const { return m_lastWordOriginLevel; }
    bool lastWasJustMisspelled() const { return m_lastWasJustMisspelled; }
    // The last word was deleted while its verdict showed: its boxes settle nothing.
    bool isLastWordDeleted() const { return m_isLastWordDeleted; }

    // Judges the typed answer to nextWord() (the foreign word asked when `askedForeign`) and
    // records it; the last word becomes the one answered (the synonym, when one was answered).
    Judgement answer(const QString &typed, bool askedForeign, bool isMisspellRecognitionDisabled);
    // Records an outcome for nextWord() as the flash cards mark it: 1 correct, 0 skipped, -1 wrong.
    // Only a wrong card is asked again at a restart. With `dontAskAgain` the word is kept out of
    // quizzes from now on; the change is recorded once, after both.
    void record(int outcome, bool dontAskAgain);
    // The question on show was deleted before it was answered: it is recorded nowhere and leaves
    // the run and its number of words; advance() moves on to the next one.
    void dropNextWord();
    // The next question; none once the run asked every word.
    const std::shared_ptr<QLXWord> &advance();

    // Settles the last word's boxes as the learner left them: "don't ask again" keeps it out of
    // quizzes; "I knew it" counts a wrong or misspelled answer as correct, the level moving up
    // one from where it was before the answer. Recorded with the next answer, or at finish().
    void settle(bool dontAskAgain, bool iKnewIt);
    // The level the last word ends at when "I knew it" is settled.
    quint64 levelAfterIKnewIt() const;

    // `words` were deleted: they leave the rest of the run and the wrong words, and a deleted
    // last word has nothing left to settle. The deletion itself was recorded by the editor.
    void wordsDeleted(const WordList &words);

    qint64 numberOfCorrect() const { return m_numberOfCorrect; }
    qint64 numberOfWrong() const { return m_numberOfWrong; }
    // Misspelled in the typing and pop-up quizzes, skipped in the flash cards.
    qint64 numberOfMisspelled() const { return m_numberOfMisspelled; }
    qint64 numberOfAnswers() const { return m_numberOfCorrect + m_numberOfWrong + m_numberOfMisspelled; }
    const WordList &wrongAnsweredWords() const { return m_wrongAnsweredWords; }
    // The figures of the result page, out of the words the run holds.
    QuizResults results() const;

private:
    void recordAnswer(int outcome, bool asksAgainAtZero = true);

    QLXQuizInterface &m_quiz;
    VocabularyKeeper &m_keeper;
    bool m_isInProgress = false;
    std::shared_ptr<QLXWord> m_nextWord;
    std::shared_ptr<QLXWord> m_lastWord;
    quint64 m_lastWordOriginLevel = 0;
    bool m_lastWasJustMisspelled = false;
    bool m_lastWasCorrect = false;
    bool m_isLastWordDeleted = false;
    qint64 m_numberOfCorrect = 0;
    qint64 m_numberOfWrong = 0;
    qint64 m_numberOfMisspelled = 0;
    WordList m_wrongAnsweredWords;
};

} // namespace lexi
