#pragma once

#include "QuizResults.h"
#include "QuizRun.h"

#include "platform/dispatch/Scheduler.h"
#include "platform/ports/Clock.h"
#include "platform/values/Date.h"

#include <QObject>

#include <chrono>
#include <optional>

class QLXQuizInterface;

namespace lexi {

class Defaults;
class VocabularyKeeper;

// The pop-up quiz's run, without any display: one question at a time, asked at an interval while
// the learner works elsewhere. A question shows; the learner checks the answer, which is judged
// and recorded at once, and sees the verdict; Next settles the verdict's boxes and starts the
// wait for the next question. Once as many answers as the run has words were given, the results
// come up at the end of the wait instead.
//
// The wait is wall-clock time: the scheduler's timers stop while the machine sleeps, so the wait
// also looks at the clock every wallClockCheck, and a question that fell due during a sleep shows
// soon after waking.
class PopupQuizRun : public QObject
{
    Q_OBJECT

public:
    // What the verdict page shows about an answer.
    struct VerdictFace
    {
        enum class Colour { Correct, Synonym, Misspelled, Wrong };
        Colour colour = Colour::Wrong;
        // Beside the learner's answer: "✓", "≈" or "X".
        QString mark;
        // The learner's answer with its mark; faint unless correct.
        bool isAnswerShown = true;
        bool isAnswerFaint = true;
        // The expected answer with its correction mark.
        bool isExpectedShown = true;
        // The level icons: the lower one always, the upper one with the arrow between them
        // unless none.
        quint64 lowerLevel = 0;
        std::optional<quint64> upperLevel;
        bool isArrowUp = false;
        bool offersDontAskAgain = false;
        bool offersIKnewIt = false;
    };

    static constexpr qint64 minimumInterval = 1;
    static constexpr qint64 maximumInterval = 100;
    static constexpr qint64 defaultInterval = 5;
    // The number of words chosen when the run was started without any.
    static constexpr qint64 wordsWhenNoneSupplied = 10;
    static constexpr std::chrono::seconds wallClockCheck{30};

    enum class Stage {
        Idle,     // no run, or the results were closed
        Question, // a question shows
        Verdict,  // the verdict on the answer shows, with its boxes
        Waiting,  // the window is away until the next question falls due
        Results,  // the run is over and its results show
    };

    // All of them must outlive the run. The interval stored in `defaults` is restored.
    PopupQuizRun(QLXQuizInterface &quiz, Defaults &defaults, dispatch::Scheduler &scheduler, const Clock &clock,
                 VocabularyKeeper &keeper, QObject *parent = nullptr);

    // Starts a run from zero with the quiz's words, or with wordsWhenNoneSupplied words chosen by
    // the quiz's settings when it holds none that were not asked already; the first question
    // shows at once.
    void startQuiz();
    // The wait is over: the next question, or the results once every answer of the run was given.
    void showQuiz();
    // Judges and records the answer to the question shown; the verdict shows. Nothing outside a
    // question.
    std::optional<QuizRun::Judgement> checkWord(const QString &answer);
    // Settles the verdict's boxes as the learner left them, records the run and starts the wait.
    void next(bool dontAskAgain, bool iKnewIt);
    // The learner ends the run: the boxes of a verdict shown are settled, the run is recorded and
    // the results show. The wait stops.
    void stopQuiz(bool dontAskAgain, bool iKnewIt);
    // The results are closed.
    void close();
    // The run ends without results (the vocabulary it asks from is gone): nothing more is asked,
    // settled or recorded.
    void end();

    // The minutes between a Next and the next question. A value outside minimumInterval to
    // maximumInterval is refused with a console line (false); any other is stored, and a wait
    // under way starts again from now. A question or verdict on show stays as it is.
    bool updateInterval(qint64 minutes);
    qint64 questionIntervalMinutes() const { return m_questionIntervalMinutes; }

    Stage stage() const { return m_stage; }
    // From startQuiz() until the results show (or end()).
    bool isInProgress() const { return m_run.isInProgress(); }
    bool isWaiting() const { return m_stage == Stage::Waiting; }
    // When the next question falls due, on the wall clock; none unless waiting.
    std::optional<Date> dueDate() const;

    // The word asked, or (from the answer on) answered; none before the first question.
    const std::shared_ptr<QLXWord> &currentWord() const;
    // The current word's level when it was shown, before the answer.
    quint64 currentWordOriginLevel() const;
    // The question asks for the foreign word (it shows yourWord), or for the own one.
    bool lastAskedForeign() const { return m_lastAskedForeign; }
    QString questionText() const;
    const QString &lastAnswer() const { return m_lastAnswer; }
    bool lastWrongWasJustMisspelled() const { return m_run.lastWasJustMisspelled(); }
    // Where the current word ends when "I knew it" is settled.
    quint64 levelAfterIKnewIt() const { return m_run.levelAfterIKnewIt(); }

    // The verdict on the last answer as it shows after checkWord().
    VerdictFace verdictFace() const;
    // The verdict as the "I knew it" box shows it: ticked, a correct answer from the level the
    // word had when shown to the level it ends at; unticked, the verdict as it came.
    VerdictFace iKnewItFace(bool ticked) const;

    const QuizRun &run() const { return m_run; }
    // The figures of the result page, out of the answers given.
    QuizResults results() const;

    // `words` were deleted while the run goes on (see QuizRun::wordsDeleted).
    void wordsDeleted(const WordList &words) { m_run.wordsDeleted(words); }

signals:
    // A question shows (page 0).
    void questionShown();
    // The results show (page 2); the run is over.
    void resultsShown();

private:
    void setQuestion();
    void showQuestionOrResults();
    void showStatistics(bool dontAskAgain, bool iKnewIt);
    void startWait();
    void stopWait();
    bool hasWordsToAsk() const;

    QLXQuizInterface &m_quiz;
    Defaults &m_defaults;
    dispatch::Scheduler &m_scheduler;
    const Clock &m_clock;
    VocabularyKeeper &m_keeper;
    QuizRun m_run;
    Stage m_stage = Stage::Idle;
    qint64 m_questionIntervalMinutes = defaultInterval;
    bool m_lastAskedForeign = true;
    QString m_lastAnswer;
    std::optional<QuizRun::Judgement> m_judgement;
    Date m_dueDate;
    dispatch::DelayedBlock m_dueTimer;
    dispatch::DelayedBlock m_clockCheck;
};

} // namespace lexi
