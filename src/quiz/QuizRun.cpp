#include "QuizRun.h"

#include "QLXQuizInterface.h"

#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"

namespace lexi {

QuizRun::QuizRun(QLXQuizInterface &quiz, VocabularyKeeper &keeper) : m_quiz(quiz), m_keeper(keeper) {}

void QuizRun::start()
{
    m_numberOfCorrect = m_numberOfWrong = m_numberOfMisspelled = 0;
    m_wrongAnsweredWords.clear();
    m_isInProgress = true;
    m_nextWord = m_quiz.nextWordToAsk();
    // Until the first answer the last word is the first question: nothing of it is settled.
    m_lastWord = m_nextWord;
    m_lastWordOriginLevel = m_nextWord ? m_nextWord->level() : 0;
    m_lastWasJustMisspelled = false;
    m_lastWasCorrect = true;
    m_isLastWordDeleted = false;
}

bool QuizRun::restartWithWrong()
{
    if (m_isInProgress || m_wrongAnsweredWords.isEmpty())
        return false;
    m_quiz.askInOrder(m_wrongAnsweredWords);
    start();
    return true;
}

void QuizRun::finish(bool dontAskAgain, bool iKnewIt)
{
    settle(dontAskAgain, iKnewIt);
    end();
    m_keeper.recordChange();
}

void QuizRun::end()
{
    m_isInProgress = false;
}

QuizRun::Judgement QuizRun::answer(const QString &typed, bool askedForeign, bool isMisspellRecognitionDisabled)
{
    Judgement judgement;
    if (!m_nextWord)
        return judgement;
    m_lastWord = m_nextWord;
    m_isLastWordDeleted = false;
    qint64 distance = answerDistance(expectedSide(*m_lastWord, askedForeign), typed);
    if (distance != 0 && !isBlankAnswer(typed)) {
        const std::shared_ptr<Lexicarta> &vocabulary = m_quiz.vocabulary();
        const std::shared_ptr<QLXWord> synonym =
            vocabulary ? acceptedSynonym(vocabulary->synonymsForWord(*m_lastWord), typed, askedForeign,
                                         m_quiz.wordsToAsk(), m_quiz.askIndex())
                       : nullptr;
        if (synonym) {
            // The synonym counts in place of the word asked, which is asked next. One from outside
            // the run moves up a level but does not count: the run still asks its own words.
            if (!m_quiz.putInPlaceOfAskedWord(synonym))
                --m_numberOfCorrect;
            m_lastWord = synonym;
            distance = 0;
            judgement.isSynonym = true;
        }
    }
    judgement.verdict = verdictForDistance(distance, isMisspellRecognitionDisabled);
    switch (judgement.verdict) {
    case AnswerVerdict::Correct:
        recordAnswer(1);
        break;
    case AnswerVerdict::Misspelled:
        recordAnswer(0);
        break;
    case AnswerVerdict::Wrong:
        recordAnswer(-1);
        break;
    }
    return judgement;
}

void QuizRun::record(int outcome, bool dontAskAgain)
{
    if (!m_nextWord)
        return;
    m_lastWord = m_nextWord;
    m_isLastWordDeleted = false;
    if (dontAskAgain)
        m_lastWord->setDontAskAgain(true);
    recordAnswer(outcome, false);
}

void QuizRun::dropNextWord()
{
    if (!m_nextWord)
        return;
    m_quiz.removeAskedWord();
    m_nextWord = nullptr;
}

void QuizRun::recordAnswer(int outcome, bool asksAgainAtZero)
{
    m_lastWordOriginLevel = m_lastWord->level();
    m_lastWasCorrect = outcome > 0;
    m_lastWasJustMisspelled = outcome == 0;
    if (const std::shared_ptr<Lexicarta> &vocabulary = m_quiz.vocabulary())
        vocabulary->answeredWord(*m_lastWord, outcome);
    if (outcome > 0) {
        ++m_numberOfCorrect;
    } else {
        outcome == 0 ? ++m_numberOfMisspelled : ++m_numberOfWrong;
        if (outcome < 0 || asksAgainAtZero)
            m_wrongAnsweredWords.append(m_lastWord);
    }
    m_keeper.recordChange();
}

const std::shared_ptr<QLXWord> &QuizRun::advance()
{
    m_nextWord = m_quiz.nextWordToAsk();
    return m_nextWord;
}

void QuizRun::settle(bool dontAskAgain, bool iKnewIt)
{
    if (!m_lastWord || m_isLastWordDeleted)
        return;
    if (dontAskAgain)
        m_lastWord->setDontAskAgain(true);
    if (iKnewIt && !m_lastWasCorrect) {
        if (m_lastWasJustMisspelled) {
            --m_numberOfMisspelled;
        } else {
            m_lastWord->setLevel(m_lastWordOriginLevel);
            --m_numberOfWrong;
        }
        if (const std::shared_ptr<Lexicarta> &vocabulary = m_quiz.vocabulary())
            vocabulary->answeredWord(*m_lastWord, 1);
        ++m_numberOfCorrect;
        m_wrongAnsweredWords.removeAll(m_lastWord);
        m_lastWasCorrect = true;
    }
}

quint64 QuizRun::levelAfterIKnewIt() const
{
    return std::min<quint64>(m_lastWordOriginLevel + 1, QLXWord::nativeLevel);
}

void QuizRun::wordsDeleted(const WordList &words)
{
    for (const std::shared_ptr<QLXWord> &deleted : words)
        m_wrongAnsweredWords.removeAll(deleted);
    m_quiz.removeFromRestOfRun(words);
    if (m_lastWord && words.contains(m_lastWord))
        m_isLastWordDeleted = true;
}

QuizResults QuizRun::results() const
{
    return {m_numberOfCorrect, m_numberOfMisspelled, m_numberOfWrong, m_quiz.numberOfWordsToAsk()};
}

} // namespace lexi
