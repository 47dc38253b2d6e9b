#include "PopupQuizRun.h"

#include "QLXQuizInterface.h"

#include "AnswerJudging.h"

#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"
#include "platform/files/Settings.h"
#include "platform/ports/Console.h"

using namespace Qt::StringLiterals;

namespace lexi {

PopupQuizRun::PopupQuizRun(QLXQuizInterface &quiz, Defaults &defaults, dispatch::Scheduler &scheduler,
                           const Clock &clock, VocabularyKeeper &keeper, QObject *parent)
    : QObject(parent), m_quiz(quiz), m_defaults(defaults), m_scheduler(scheduler), m_clock(clock), m_keeper(keeper),
      m_run(quiz, keeper)
{
    const qint64 stored = Settings(defaults).value(Settings::popupQuizInterval);
    if (stored >= minimumInterval && stored <= maximumInterval)
        m_questionIntervalMinutes = stored;
}

bool PopupQuizRun::hasWordsToAsk() const
{
    // Words handed over for this run and not asked yet.
    return m_quiz.askIndex() < 0 && !m_quiz.wordsToAsk().isEmpty();
}

void PopupQuizRun::startQuiz()
{
    stopWait();
    if (!hasWordsToAsk()) {
        m_quiz.setNumberOfWordsToAsk(wordsWhenNoneSupplied);
        m_quiz.createWordsToAsk();
    }
    m_lastAnswer.clear();
    m_judgement.reset();
    m_run.start();
    showQuestionOrResults();
}

void PopupQuizRun::showQuiz()
{
    if (m_stage != Stage::Waiting)
        return;
    stopWait();
    m_run.advance();
    showQuestionOrResults();
}

void PopupQuizRun::showQuestionOrResults()
{
    const qint64 wanted = m_quiz.numberOfWordsToAsk();
    if (wanted != 0 && m_run.numberOfAnswers() < wanted && m_run.nextWord()) {
        setQuestion();
        m_lastAnswer.clear();
        m_stage = Stage::Question;
        emit questionShown();
        return;
    }
    Console::writeLine(u"bgquiz > showQuiz > show stats"_s);
    showStatistics(false, false);
}

void PopupQuizRun::setQuestion()
{
    if (m_quiz.askForForeignWord() && m_quiz.askForYourWord())
        m_lastAskedForeign = m_quiz.random().randomIntBetween(0, 1) == 0;
    else
        m_lastAskedForeign = !m_quiz.askForYourWord();
}

std::optional<QuizRun::Judgement> PopupQuizRun::checkWord(const QString &answer)
{
    if (m_stage != Stage::Question || !m_run.nextWord())
        return std::nullopt;
    m_lastAnswer = answer;
    const std::shared_ptr<Lexicarta> &vocabulary = m_quiz.vocabulary();
    m_judgement = m_run.answer(answer, m_lastAskedForeign, vocabulary && vocabulary->isDisableMisspellRecognition());
    m_stage = Stage::Verdict;
    return m_judgement;
}

void PopupQuizRun::next(bool dontAskAgain, bool iKnewIt)
{
    if (m_stage != Stage::Verdict)
        return;
    m_run.settle(dontAskAgain, iKnewIt);
    m_keeper.recordChange();
    m_stage = Stage::Waiting;
    startWait();
}

void PopupQuizRun::stopQuiz(bool dontAskAgain, bool iKnewIt)
{
    if (isInProgress())
        showStatistics(dontAskAgain, iKnewIt);
}

void PopupQuizRun::showStatistics(bool dontAskAgain, bool iKnewIt)
{
    stopWait();
    // Only a verdict on show has boxes left to settle; those of earlier ones were settled at Next.
    const bool hasBoxes = m_stage == Stage::Verdict;
    m_run.finish(hasBoxes && dontAskAgain, hasBoxes && iKnewIt);
    m_stage = Stage::Results;
    emit resultsShown();
}

void PopupQuizRun::close()
{
    end();
}

void PopupQuizRun::end()
{
    stopWait();
    m_run.end();
    m_stage = Stage::Idle;
}

bool PopupQuizRun::updateInterval(qint64 minutes)
{
    if (minutes < minimumInterval || minutes > maximumInterval) {
        Console::writeLine(u"BackgroundQuizController > updateInterval > out of range"_s);
        return false;
    }
    Settings(m_defaults).setValue(Settings::popupQuizInterval, minutes);
    m_questionIntervalMinutes = minutes;
    if (m_stage == Stage::Waiting)
        startWait();
    return true;
}

void PopupQuizRun::startWait()
{
    const std::chrono::minutes interval(m_questionIntervalMinutes);
    m_dueDate = m_clock.now().addingSeconds(double(std::chrono::duration_cast<std::chrono::seconds>(interval).count()));
    m_dueTimer = m_scheduler.after(interval, [this] { showQuiz(); });
    m_clockCheck = m_scheduler.every(wallClockCheck, [this] {
        if (m_clock.now() >= m_dueDate)
            showQuiz();
    });
}

void PopupQuizRun::stopWait()
{
    m_dueTimer.cancel();
    m_clockCheck.cancel();
}

std::optional<Date> PopupQuizRun::dueDate() const
{
    return m_stage == Stage::Waiting ? std::optional<Date>(m_dueDate) : std::nullopt;
}

const std::shared_ptr<QLXWord> &PopupQuizRun::currentWord() const
{
    return m_stage == Stage::Question ? m_run.nextWord() : m_run.lastWord();
}

quint64 PopupQuizRun::currentWordOriginLevel() const
{
    if (m_stage == Stage::Question)
        return m_run.nextWord() ? m_run.nextWord()->level() : 0;
    return m_run.lastWordOriginLevel();
}

QString PopupQuizRun::questionText() const
{
    const std::shared_ptr<QLXWord> &word = currentWord();
    if (!word)
        return {};
    return m_lastAskedForeign ? word->yourWord() : word->foreignWord();
}

PopupQuizRun::VerdictFace PopupQuizRun::verdictFace() const
{
    VerdictFace face;
    const std::shared_ptr<QLXWord> &word = m_run.lastWord();
    if (!m_judgement || !word)
        return face;
    const quint64 origin = m_run.lastWordOriginLevel();
    const quint64 level = word->effectiveLevel();
    face.offersIKnewIt = true;
    switch (m_judgement->verdict) {
    case AnswerVerdict::Correct:
        face.colour = m_judgement->isSynonym ? VerdictFace::Colour::Synonym : VerdictFace::Colour::Correct;
        face.mark = u"\u2713"_s;
        face.isAnswerFaint = false;
        face.isExpectedShown = false;
        face.lowerLevel = origin;
        if (level != QLXWord::nativeLevel)
            face.upperLevel = level;
        face.isArrowUp = true;
        face.offersDontAskAgain = level == QLXWord::nativeLevel;
        face.offersIKnewIt = false;
        break;
    case AnswerVerdict::Misspelled:
        face.colour = VerdictFace::Colour::Misspelled;
        face.mark = u"\u2248"_s;
        face.lowerLevel = level;
        break;
    case AnswerVerdict::Wrong:
        face.colour = VerdictFace::Colour::Wrong;
        face.mark = u"X"_s;
        face.isAnswerShown = !isBlankAnswer(m_lastAnswer);
        if (origin != 0)
            face.upperLevel = origin;
        face.lowerLevel = level;
        break;
    }
    return face;
}

PopupQuizRun::VerdictFace PopupQuizRun::iKnewItFace(bool ticked) const
{
    VerdictFace face = verdictFace();
    if (!ticked || !face.offersIKnewIt)
        return face;
    const quint64 origin = m_run.lastWordOriginLevel();
    face.colour = VerdictFace::Colour::Correct;
    face.lowerLevel = origin;
    face.upperLevel = levelAfterIKnewIt() != origin ? std::optional<quint64>(levelAfterIKnewIt()) : std::nullopt;
    face.isArrowUp = true;
    return face;
}

QuizResults PopupQuizRun::results() const
{
    return {m_run.numberOfCorrect(), m_run.numberOfMisspelled(), m_run.numberOfWrong(), m_run.numberOfAnswers()};
}

} // namespace lexi
