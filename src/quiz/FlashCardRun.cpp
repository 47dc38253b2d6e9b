#include "FlashCardRun.h"

#include "QLXQuizInterface.h"

#include "model/VocabularyKeeper.h"
#include "platform/files/Settings.h"

#include <algorithm>

namespace lexi {

namespace {

quint64 levelAfterCorrect(quint64 level)
{
    return std::min(level + 1, QLXWord::nativeLevel);
}

// The level scheme's fall: long-term and native words drop to short term, the others one level.
quint64 levelAfterWrong(quint64 level)
{
    if (level >= 4)
        return 2;
    return level >= 1 ? level - 1 : 0;
}

bool isNative(const QLXWord &word)
{
    return word.effectiveLevel() == QLXWord::nativeLevel;
}

} // namespace

FlashCardRun::FlashCardRun(QLXQuizInterface &quiz, const Services &services, FlashCardPage &page)
    : m_quiz(quiz), m_services(services), m_page(page), m_run(quiz, services.keeper)
{
    const Settings settings(services.defaults);
    if (settings.value(Settings::learnHasSetTimeout))
        m_flipLevel = int(std::clamp<qint64>(settings.value(Settings::learnFlipLevel), FlipSpeed::offLevel,
                                             FlipSpeed::fastestLevel));
    m_speed = FlipSpeed::forLevel(m_flipLevel);
}

void FlashCardRun::awake()
{
    changeFlipTimeout(m_flipLevel);
}

void FlashCardRun::changeFlipTimeout(int level)
{
    m_flipLevel = std::clamp(level, FlipSpeed::offLevel, FlipSpeed::fastestLevel);
    m_speed = FlipSpeed::forLevel(m_flipLevel);
    Settings settings(m_services.defaults);
    settings.setValue(Settings::learnFlipLevel, m_flipLevel);
    settings.setValue(Settings::learnHasSetTimeout, true);
    // With no pause at "off", auto-play would record every card unseen as skipped.
    if (m_flipLevel == FlipSpeed::offLevel)
        stopPlaying();
    m_page.showRun();
}

void FlashCardRun::startQuiz()
{
    cancelTimers();
    m_run.start();
    showFirstCard();
}

// What a start and a restart share: the first card's question, the progress, auto-play as the
// slider says.
void FlashCardRun::showFirstCard()
{
    m_isProgressShown = true;
    m_isShowingSolution = false;
    m_face.isEditOffered = false;
    m_face.isDeletedMarkShown = false;
    m_face.isDontAskAgainTicked = false;
    m_isAutoPlay = m_flipLevel > FlipSpeed::offLevel;
    if (currentWord())
        setQuestion();
    else
        m_isAutoPlay = false;
    m_page.showRun();
    if (!currentWord())
        showStatistics();
}

void FlashCardRun::setQuestion()
{
    m_autoPlayTimer.cancel();
    const QLXWord &word = *currentWord();
    if (m_quiz.askForForeignWord() && m_quiz.askForYourWord())
        m_lastAskedForeign = m_quiz.random().randomIntBetween(0, 1) == 0;
    else
        m_lastAskedForeign = !m_quiz.askForYourWord();

    m_face.color = FlashCardFace::Color::Neutral;
    m_face.isAnswerShown = false;
    m_face.question = m_lastAskedForeign ? word.yourWord() : word.foreignWord();
    m_face.answer.clear();
    scheduleAutoPlay();

    m_face.level = word.level();
    m_face.levelAfterCorrect = levelAfterCorrect(word.effectiveLevel());
    m_face.levelAfterWrong = levelAfterWrong(word.effectiveLevel());
    m_face.isRiseShown = false;
    m_face.isFallShown = false;
    m_face.isCorrectMarked = false;
    m_face.isWrongMarked = false;
    m_face.buttons = FlashCardFace::Buttons::ShowAnswer;
    m_face.comment = word.comment();
    m_face.isCommentShown = m_quiz.isShowCommentWithQuestion();
    m_face.isDeletedMarkShown = false;
}

void FlashCardRun::refillCard()
{
    const QLXWord &word = *currentWord();
    m_face.question = m_lastAskedForeign ? word.yourWord() : word.foreignWord();
    if (m_isShowingSolution)
        m_face.answer = m_lastAskedForeign ? word.foreignWord() : word.yourWord();
    m_face.comment = word.comment();
}

void FlashCardRun::showSolution()
{
    if (isStepPending())
        return;
    m_showNextTimer.cancel();
    if (!currentWord())
        return;
    m_isShowingSolution = true;
    m_autoPlayTimer.cancel();
    m_face.isCommentShown = true;
    refillCard();
    m_face.isAnswerShown = true;
    scheduleAutoPlay();

    m_face.isDontAskAgainOffered = isNative(*currentWord());
    m_face.isDontAskAgainTicked = false;
    m_face.isEditOffered = true;
    m_face.isDeletedMarkShown = false;
    m_face.buttons = FlashCardFace::Buttons::Marks;
    m_page.showRun();
}

void FlashCardRun::next()
{
    if (m_isShowingSolution)
        showNext();
    else
        showSolution();
}

void FlashCardRun::showNext()
{
    if (isStepPending() || !currentWord())
        return;
    m_showNextTimer.cancel();
    if (!m_isShowingSolution && !m_isAutoPlay) {
        showSolution();
        return;
    }
    // The next card's question schedules its own auto-play step.
    m_autoPlayTimer.cancel();
    m_isShowingSolution = false;

    const int outcome = m_face.isWrongMarked ? -1 : m_face.isCorrectMarked ? 1 : 0;
    m_run.record(outcome, m_face.isDontAskAgainTicked);
    m_face.isDontAskAgainTicked = false;

    m_run.advance();
    m_face.isDeletedMarkShown = false;
    m_face.isEditOffered = false;
    moveOn();
}

// After a card was left: the next one flips in, or the results follow the last.
void FlashCardRun::moveOn()
{
    if (currentWord()) {
        m_flipIn = m_services.scheduler.after(flipInDelay, [this] { flipInQuestion(); });
    } else {
        m_isAutoPlay = false;
        showStatistics();
    }
    m_page.showRun();
}

void FlashCardRun::flipInQuestion()
{
    if (!currentWord())
        return;
    // A flip still playing is not animated again, but the next question shows all the same.
    const bool flips = m_page.flipFirstHalf();
    setQuestion();
    m_page.showRun();
    if (flips)
        m_page.flipSecondHalf(false);
}

bool FlashCardRun::acceptsMark() const
{
    return currentWord() && m_isShowingSolution && !isStepPending();
}

void FlashCardRun::markCorrect()
{
    if (!acceptsMark())
        return;
    const QLXWord &word = *currentWord();
    m_face.isCorrectMarked = !m_face.isCorrectMarked;
    m_face.isWrongMarked = false;
    m_face.isFallShown = false;
    m_face.isRiseShown = m_face.isCorrectMarked && !isNative(word);
    m_face.isDontAskAgainOffered = isNative(word);
    m_face.color = m_face.isCorrectMarked ? FlashCardFace::Color::Correct : FlashCardFace::Color::Neutral;
    scheduleShowNext(correctMarkDelay);
    m_page.showRun();
}

void FlashCardRun::markWrong()
{
    if (!acceptsMark())
        return;
    const QLXWord &word = *currentWord();
    m_face.isWrongMarked = !m_face.isWrongMarked;
    m_face.isCorrectMarked = false;
    m_face.isRiseShown = false;
    m_face.isFallShown = m_face.isWrongMarked && word.level() != 0;
    m_face.color = m_face.isWrongMarked ? FlashCardFace::Color::Wrong : FlashCardFace::Color::Neutral;
    scheduleShowNext(wrongMarkDelay);
    m_page.showRun();
}

void FlashCardRun::setDontAskAgainTicked(bool ticked)
{
    m_face.isDontAskAgainTicked = ticked && m_face.isDontAskAgainOffered && acceptsMark();
}

// A mark moves on by itself a moment later, for the card it was made on only.
void FlashCardRun::scheduleShowNext(std::chrono::milliseconds delay)
{
    m_showNextTimer = m_services.scheduler.after(delay, [this, marked = currentWord()] {
        if (currentWord() == marked)
            showNext();
    });
}

// Under auto-play, the question on show reveals its answer after showAnswerTimeout, and the
// answer moves on after flipTimeout.
void FlashCardRun::scheduleAutoPlay()
{
    m_autoPlayTimer.cancel();
    if (!m_isAutoPlay)
        return;
    const bool isAnswer = m_isShowingSolution;
    m_autoPlayTimer = m_services.scheduler.after(isAnswer ? flipTimeout() : showAnswerTimeout(),
                                                 [this, isAnswer, shown = currentWord()] {
                                                     if (currentWord() != shown || m_isShowingSolution != isAnswer)
                                                         return;
                                                     isAnswer ? showNext() : showSolution();
                                                 });
}

bool FlashCardRun::isPlayOffered() const
{
    return m_flipLevel > FlipSpeed::offLevel && isRunInProgress() && currentWord();
}

void FlashCardRun::togglePlay()
{
    if (!isPlayOffered())
        return;
    m_isAutoPlay = !m_isAutoPlay;
    scheduleAutoPlay();
    m_page.showRun();
}

void FlashCardRun::stopPlaying()
{
    if (!m_isAutoPlay)
        return;
    m_isAutoPlay = false;
    m_autoPlayTimer.cancel();
    m_page.showRun();
}

bool FlashCardRun::isStepPending() const
{
    return m_flipIn.isPending() || m_pendingStep.isPending();
}

qint64 FlashCardRun::runningNumber() const
{
    return std::min(m_run.numberOfAnswers() + 1, std::max<qint64>(numberOfWordsToAsk(), 1));
}

qint64 FlashCardRun::numberOfWordsToAsk() const
{
    return m_quiz.numberOfWordsToAsk();
}

bool FlashCardRun::isRestartOffered() const
{
    return !isRunInProgress() && numberOfWrong() > 0 && !wrongAnsweredWords().isEmpty();
}

void FlashCardRun::showStatistics()
{
    if (m_pendingStep.isPending() || currentWord() || !isRunInProgress())
        return;
    m_pendingStep = m_services.scheduler.after(stepDelay, [this] { executeShowStatistics(); });
}

void FlashCardRun::executeShowStatistics()
{
    m_page.flipFirstHalf();
    m_run.finish(false, false);
    m_services.keeper.requestSync();
    m_isProgressShown = false;
    m_page.showSide(FlashCardPage::Side::Results);
    m_page.showRun();
    m_page.flipSecondHalf(false);
    m_services.ratingPrompt.logEvent(true);
    m_page.resultsShown();
}

void FlashCardRun::restartQuizWithWrong()
{
    if (isStepPending() || !isRestartOffered())
        return;
    m_pendingStep = m_services.scheduler.after(stepDelay, [this] { executeRestartQuizWithWrong(); });
}

void FlashCardRun::executeRestartQuizWithWrong()
{
    if (!isRestartOffered())
        return;
    m_page.flipFirstHalf();
    m_face.color = FlashCardFace::Color::Neutral;
    m_run.restartWithWrong();
    showFirstCard();
    m_page.showSide(FlashCardPage::Side::Card);
    m_page.flipSecondHalf(false);
}

void FlashCardRun::leave()
{
    cancelTimers();
    m_isAutoPlay = false;
    m_run.end();
    m_page.showRun();
}

void FlashCardRun::cancelTimers()
{
    m_showNextTimer.cancel();
    m_autoPlayTimer.cancel();
    m_flipIn.cancel();
    m_pendingStep.cancel();
}

void FlashCardRun::currentWordEdited()
{
    if (currentWord() && isRunInProgress()) {
        refillCard();
        m_page.showRun();
    }
    m_services.keeper.requestSync();
}

void FlashCardRun::wordsDeleted(const WordList &words)
{
    const bool isCardDeleted = isRunInProgress() && currentWord() && words.contains(currentWord());
    m_run.wordsDeleted(words);
    m_services.keeper.requestSync();
    if (!isCardDeleted)
        return;
    m_showNextTimer.cancel();
    m_autoPlayTimer.cancel();
    m_flipIn.cancel();
    m_run.dropNextWord();
    m_run.advance();
    m_isShowingSolution = false;
    m_face.isDontAskAgainTicked = false;
    m_face.isEditOffered = false;
    m_face.isDeletedMarkShown = true;
    moveOn();
}

} // namespace lexi
