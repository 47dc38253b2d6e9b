#pragma once

#include "FlashCardSpeeds.h"
#include "QuizResults.h"
#include "QuizRun.h"
#include "QuizServices.h"

#include "model/QLXWord.h"

#include <chrono>
#include <memory>

class QLXQuizInterface;

namespace lexi {

// What the flash-card page shows of the card on show; the page draws exactly this.
struct FlashCardFace
{
    enum class Color { Neutral, Correct, Wrong };
    // The button area: the show-answer buttons under a question, the marks under its answer.
    enum class Buttons { ShowAnswer, Marks };

    QString question;
    QString answer;
    QString comment;
    bool isAnswerShown = false;
    bool isCommentShown = false;
    Color color = Color::Neutral;
    // The word's level, and the levels a right and a wrong mark take it to.
    quint64 level = 0;
    quint64 levelAfterCorrect = 0;
    quint64 levelAfterWrong = 0;
    // The upper level icon with its up arrow, and the lower one with its down arrow.
    bool isRiseShown = false;
    bool isFallShown = false;
    Buttons buttons = Buttons::ShowAnswer;
    bool isCorrectMarked = false;
    bool isWrongMarked = false;
    // Only for a native word, once its answer shows.
    bool isDontAskAgainOffered = false;
    bool isDontAskAgainTicked = false;
    bool isEditOffered = false;
    bool isDeletedMarkShown = false;
};

// What a flash-card run asks of the page that shows it.
class FlashCardPage
{
public:
    enum class Side { Card, Results };

    virtual ~FlashCardPage() = default;

    // The face, the progress, the controls' states or the results changed: the page shows them
    // as the run has them now.
    virtual void showRun() = 0;
    virtual void showSide(Side side) = 0;
    // Takes a picture of what shows before a step changes it; false while a flip plays.
    virtual bool flipFirstHalf() = 0;
    // Turns the picture over to what shows now, the other way round with `reverse`.
    virtual void flipSecondHalf(bool reverse) = 0;
    // The results show: the run has ended.
    virtual void resultsShown() = 0;
};

// One run of the flash-card slideshow, without any display. A card shows a question; the learner
// reveals the answer, marks the card right or wrong or leaves it unmarked (skipped), and the next
// card flips in. Auto-play reveals each answer and moves on after the times of the flip-speed
// slider. Every outcome is recorded through the keeper as the card is left; the results follow
// the last card, and the cards marked wrong can be asked again.
//
// Every delay runs on the services' scheduler. A step waiting for its turn (the next card's
// flip-in, the results, a restart) makes every other trigger do nothing until it has run.
class FlashCardRun
{
public:
    // The step to the results and to a restart waits for the card flip to take its picture.
    static constexpr std::chrono::milliseconds stepDelay{200};
    // The next card flips in right after the step that recorded the last one.
    static constexpr std::chrono::milliseconds flipInDelay{10};
    // A mark moves on by itself after these, unless it is toggled again.
    static constexpr std::chrono::milliseconds correctMarkDelay{600};
    static constexpr std::chrono::milliseconds wrongMarkDelay{500};

    // What the run takes from the program around it; all of it must outlive the run.
    struct Services
    {
        Defaults &defaults;
        dispatch::Scheduler &scheduler;
        // The open vocabulary: every outcome is recorded through it.
        VocabularyKeeper &keeper;
        RatingPrompt &ratingPrompt;
    };

    // Asks the words of `quiz`; the slider starts where the learner left it, else at "normal".
    // `quiz` and `page` must outlive the run.
    FlashCardRun(QLXQuizInterface &quiz, const Services &services, FlashCardPage &page);

    // Applies the slider's first position (and stores it, as every change does).
    void awake();

    // The flip-speed slider, 0 "off" to 3 "fast". A change applies from the next step on; at
    // "off" auto-play stops.
    int flipLevel() const { return m_flipLevel; }
    void changeFlipTimeout(int level);
    std::chrono::seconds showAnswerTimeout() const { return m_speed.questionShown; }
    std::chrono::seconds flipTimeout() const { return m_speed.answerShown; }

    // Starts with the quiz's words from zero; auto-play is on exactly when the slider is above
    // "off". A run without words goes straight to its results.
    void startQuiz();
    void showSolution();
    // On a question without auto-play, reveals the answer; on an answer, records the card as its
    // marks stand and moves on.
    void showNext();
    // Space or Return: reveals the answer, then moves on (also under auto-play).
    void next();
    void markCorrect();
    void markWrong();
    void setDontAskAgainTicked(bool ticked);
    // Auto-play on or off; offered only above "off" and while a card shows.
    void togglePlay();
    void stopPlaying();
    void restartQuizWithWrong();
    // The learner left the run (or the tab): nothing more is asked or recorded, every timer stops.
    void leave();

    // The word popover changed the card's word: the card shows it anew.
    void currentWordEdited();
    // `words` were deleted: they leave the run recorded nowhere, and a deleted card on show gives
    // way to the next one.
    void wordsDeleted(const WordList &words);

    bool isRunInProgress() const { return m_run.isInProgress(); }
    bool isAutoPlay() const { return m_isAutoPlay; }
    bool isPlayOffered() const;
    // Under auto-play the show-answer buttons are switched off.
    bool isShowAnswerEnabled() const { return !m_isAutoPlay; }
    bool isShowingSolution() const { return m_isShowingSolution; }
    // The next card's flip-in, the results or a restart waits for its turn.
    bool isStepPending() const;
    // The card's word; none once every card was asked.
    const std::shared_ptr<QLXWord> &currentWord() const { return m_run.nextWord(); }
    // The question shows yourWord and asks for the foreign word.
    bool lastAskedForeign() const { return m_lastAskedForeign; }
    const FlashCardFace &face() const { return m_face; }

    bool isProgressShown() const { return m_isProgressShown; }
    // The card's number in the run, "%ld of %ld".
    qint64 runningNumber() const;
    qint64 numberOfWordsToAsk() const;
    qint64 numberOfCorrect() const { return m_run.numberOfCorrect(); }
    qint64 numberOfWrong() const { return m_run.numberOfWrong(); }
    qint64 numberOfSkipped() const { return m_run.numberOfMisspelled(); }
    const WordList &wrongAnsweredWords() const { return m_run.wrongAnsweredWords(); }
    // The results of the run; their middle share is the skipped cards'.
    QuizResults results() const { return m_run.results(); }
    bool isRestartOffered() const;

private:
    void showFirstCard();
    void setQuestion();
    void refillCard();
    void flipInQuestion();
    void moveOn();
    void scheduleShowNext(std::chrono::milliseconds delay);
    void scheduleAutoPlay();
    void showStatistics();
    void executeShowStatistics();
    void executeRestartQuizWithWrong();
    void cancelTimers();
    // Whether a mark applies now: to an answer on show, with no step waiting.
    bool acceptsMark() const;

    QLXQuizInterface &m_quiz;
    Services m_services;
    FlashCardPage &m_page;
    QuizRun m_run;
    FlashCardFace m_face;
    int m_flipLevel = FlipSpeed::defaultLevel;
    FlipSpeed m_speed = FlipSpeed::forLevel(FlipSpeed::defaultLevel);
    bool m_isAutoPlay = false;
    bool m_isShowingSolution = false;
    bool m_lastAskedForeign = true;
    bool m_isProgressShown = false;
    dispatch::DelayedBlock m_showNextTimer;
    dispatch::DelayedBlock m_autoPlayTimer;
    dispatch::DelayedBlock m_flipIn;
    dispatch::DelayedBlock m_pendingStep;
};

} // namespace lexi
