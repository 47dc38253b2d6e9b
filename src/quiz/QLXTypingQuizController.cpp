// The typing quiz's run: its steps, the judging of answers, the verdicts and the results.
#include "QLXTypingQuizController.h"

#include "QuizImages.h"
#include "QuizInputSources.h"
#include "QuizTexts.h"
#include "TypingQuizLook.h"
#include "VerdictControls.h"

#include "model/VocabularyKeeper.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "platform/values/Format.h"
#include "views/FittedTextLabel.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"
#include "views/QLXPieChart.h"
#include "views/QLXProgressBar.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using lexi::showQuizImage;
using lexi::typingQuiz::indicatorSize;
using lexi::quizText;
using lexi::typingQuiz::setHelveticaSize;
using lexi::typingQuiz::setTextColor;

namespace {

using lexi::setControl;

constexpr QSize levelIconSize(28, 28);

// The help on a right answer: a native word moves up no level.
QString correctAnswerHelpKey(quint64 originLevel)
{
    return originLevel >= QLXWord::nativeLevel ? u"quizCorrectNativeAnswerHelpText"_s : u"quizCorrectAnswerHelpText"_s;
}

} // namespace

QLXTypingQuizController::QLXTypingQuizController(const lexi::QuizServices &services, lexi::QuizPages &pages,
                                                 QObject *parent)
    : lexi::QuizMode(parent), QLXQuizInterface(services.defaults), m_services(services), m_pages(pages),
      m_flip(pages, services.scheduler, services.clock), m_run(*this, services.keeper)
{
    const lexi::Settings settings(services.defaults);
    setAskForYourWord(settings.value(lexi::Settings::askForYourWord));
    setAskForForeignWord(settings.value(lexi::Settings::askForForeignWord) || !askForYourWord());
    buildQuestionPage();
    buildResultsPage();
    localize();
    m_card->setIsSplit(false);
    pages.setPage(lexi::QuizPages::TypingQuiz, m_questionPage);
    pages.setPage(lexi::QuizPages::TypingResults, m_resultsPage);
    connect(&m_flip, &lexi::CardFlip::finished, this, [this] {
        if (m_pages.currentPage() == lexi::QuizPages::TypingQuiz)
            focusAnswerField();
    });
}

QWidget *QLXTypingQuizController::start()
{
    startQuiz();
    m_pages.showPage(lexi::QuizPages::TypingQuiz);
    return m_card;
}

void QLXTypingQuizController::startQuiz()
{
    m_pendingStep.cancel();
    m_card->setIsSplit(true);
    m_card->setColorNeutral();
    m_run.start();
    showFirstQuestion();
    m_focusStep = m_services.scheduler.after(focusDelay, [this] { focusAnswerField(); });
}

// What a start and a restart share: the first question on a card without a verdict.
void QLXTypingQuizController::showFirstQuestion()
{
    if (nextWord())
        setQuestion();

    for (lexi::FittedTextLabel *field : {m_expectedAnswerField, m_previousQuestionField, m_typedAnswerField,
                                         m_commentField})
        field->setText(QString());
    m_answerField->clear();
    m_typedAnswerIndicator->hide();
    m_expectedAnswerIndicator->hide();
    setControl(*m_editButton, false);
    m_deletedMark->hide();

    showProgress();
    m_statusText->show();
    m_progressBar->show();

    m_upperLevelIcon->hide();
    m_lowerLevelIcon->hide();
    m_arrow->hide();
    const bool hasQuestion = nextWord() != nullptr;
    m_questionLevelIcon->setVisible(hasQuestion);
    setControl(*m_answerField, hasQuestion);
    setControl(*m_questionField, hasQuestion);
    setControl(*m_nextButton, hasQuestion);
    setControl(*m_resultsButton, !hasQuestion);
    for (QCheckBox *box : {m_dontAskAgainBox, m_iKnewItBox}) {
        setControl(*box, false);
        box->setChecked(false);
    }
    m_verdictHelp->hide();
    showHelp(*m_questionHelp, u"cardRightHelpText"_s, lexi::Settings::hasShownQuizHelpQuestion);
}

void QLXTypingQuizController::setQuestion()
{
    if (askForForeignWord() && askForYourWord())
        m_lastAskedForeign = random().randomIntBetween(0, 1) == 0;
    else
        m_lastAskedForeign = !askForYourWord() || askForForeignWord();

    const QLXWord &asked = *nextWord();
    const QString question = m_lastAskedForeign ? asked.yourWord() : asked.foreignWord();
    m_questionField->setText(question);
    selectInputSourceForAnswer();
    setHelveticaSize(*m_questionField, question.size() >= 86 ? 14 : 18);

    m_answerField->clear();
    m_questionComment->setText(asked.comment());
    m_questionComment->setVisible(isShowCommentWithQuestion() && !asked.comment().isEmpty());
    showQuizImage(*m_questionLevelIcon, lexi::levelImageName(asked.level()), levelIconSize);
}

void QLXTypingQuizController::selectInputSourceForAnswer()
{
    const std::shared_ptr<Lexicarta> &words = vocabulary();
    if (words && words->isAutoSelectInputSource())
        lexi::selectQuizInputSource(*words,
                                    m_lastAskedForeign ? words->foreignTextInputSource() : words->yourTextInputSource());
}

void QLXTypingQuizController::scheduleStep(std::function<void()> step)
{
    if (m_pendingStep.isPending())
        return;
    m_pendingStep = m_services.scheduler.after(stepDelay, std::move(step));
}

void QLXTypingQuizController::next()
{
    if (!nextWord() || !isRunInProgress())
        return;
    // The step answers the question on the card now, and no other.
    scheduleStep([this, asked = nextWord()] {
        if (nextWord() == asked)
            executeNext();
    });
}

void QLXTypingQuizController::showStatistics()
{
    if (nextWord() || !isRunInProgress())
        return;
    scheduleStep([this] {
        if (!nextWord() && isRunInProgress())
            executeShowStatistics();
    });
}

void QLXTypingQuizController::restartQuizWithWrong()
{
    if (isRunInProgress() || wrongAnsweredWords().isEmpty())
        return;
    scheduleStep([this] {
        if (!isRunInProgress() && !wrongAnsweredWords().isEmpty())
            executeRestartQuizWithWrong();
    });
}

void QLXTypingQuizController::settleBoxes()
{
    m_run.settle(m_dontAskAgainBox->isChecked(), m_iKnewItBox->isChecked());
    m_dontAskAgainBox->setChecked(false);
    m_iKnewItBox->setChecked(false);
}

void QLXTypingQuizController::executeNext()
{
    if (lexi::Settings(m_services.defaults).value(lexi::Settings::hasShownQuizHelpQuestion))
        m_questionHelp->hide();
    m_flip.flipFirstHalf(*m_card);
    // The answer is judged and shown on the card in a turn of its own, so that the display is not
    // held up for the picture and the new card at once; the step stays waiting until then.
    m_pendingStep = m_services.scheduler.after(std::chrono::milliseconds(0), [this] { answerAndTurnCard(); });
}

void QLXTypingQuizController::answerAndTurnCard()
{
    settleBoxes();

    m_lastAnswer = m_answerField->text();
    const lexi::QuizRun::Judgement judgement =
        m_run.answer(m_lastAnswer, m_lastAskedForeign, vocabulary()->isDisableMisspellRecognition());
    const QLXWord &answered = *lastWord();
    m_commentField->setText(answered.comment());

    setControl(*m_dontAskAgainBox, false);
    setControl(*m_iKnewItBox, true);
    m_lowerLevelIcon->show();
    showVerdict(judgement.verdict, judgement.isSynonym);

    const bool isCorrect = judgement.verdict == lexi::AnswerVerdict::Correct;
    const QString &expected = lexi::expectedSide(answered, m_lastAskedForeign);
    const QString &previousQuestion = m_lastAskedForeign ? answered.yourWord() : answered.foreignWord();
    m_typedAnswerField->setText(m_lastAnswer);
    m_expectedAnswerField->setVisible(!isCorrect);
    m_expectedAnswerIndicator->setVisible(!isCorrect);
    m_expectedAnswerField->setText(expected);
    m_previousQuestionField->setText(previousQuestion);
    setHelveticaSize(*m_previousQuestionField, previousQuestion.size() >= 81 ? 14 : 18);
    setHelveticaSize(*m_typedAnswerField, m_lastAnswer.size() >= 71 ? 14 : 18);
    setHelveticaSize(*m_expectedAnswerField, expected.size() >= 71 ? 14 : 18);
    setControl(*m_editButton, true);
    m_deletedMark->hide();

    if (!m_run.advance()) {
        setControl(*m_questionField, false);
        setControl(*m_answerField, false);
        setControl(*m_nextButton, false);
        setControl(*m_resultsButton, true);
        m_statusText->hide();
        m_questionComment->hide();
        m_questionLevelIcon->hide();
        m_resultsButton->setFocus();
    } else {
        setQuestion();
    }
    showProgress();
    m_flip.flipSecondHalf(*m_card);
    m_card->update();
}

void QLXTypingQuizController::showVerdict(lexi::AnswerVerdict verdict, bool isSynonym)
{
    const quint64 origin = m_run.lastWordOriginLevel();
    const quint64 level = lastWord()->level();
    switch (verdict) {
    case lexi::AnswerVerdict::Correct:
        setTextColor(*m_typedAnswerField, Qt::black);
        isSynonym ? m_card->setColorSynonym() : m_card->setColorCorrect();
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(origin), levelIconSize);
        showQuizImage(*m_typedAnswerIndicator, u"checkmark_32"_s, indicatorSize);
        m_typedAnswerIndicator->show();
        m_typedAnswerField->show();
        showQuizImage(*m_upperLevelIcon, lexi::levelImageName(level), levelIconSize);
        showQuizImage(*m_arrow, u"arrow_up"_s, QSize(20, 32));
        m_upperLevelIcon->setVisible(origin != QLXWord::nativeLevel);
        m_arrow->setVisible(origin != QLXWord::nativeLevel);
        setControl(*m_dontAskAgainBox, origin == QLXWord::nativeLevel);
        setControl(*m_iKnewItBox, false);
        showHelp(*m_verdictHelp, correctAnswerHelpKey(origin), lexi::Settings::hasShownQuizHelpCorrectAnswer);
        break;
    case lexi::AnswerVerdict::Misspelled:
        m_card->setColorMisspelled();
        setTextColor(*m_typedAnswerField, QColor(0, 0, 0, 128));
        showQuizImage(*m_typedAnswerIndicator, u"misspelled_32"_s, indicatorSize);
        m_typedAnswerIndicator->show();
        m_typedAnswerField->show();
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(level), levelIconSize);
        m_upperLevelIcon->hide();
        m_arrow->hide();
        showHelp(*m_verdictHelp, u"quizMisspelledAnswerHelpText"_s, lexi::Settings::hasShownQuizHelpMisspelledAnswer);
        break;
    case lexi::AnswerVerdict::Wrong: {
        m_card->setColorWrong();
        setTextColor(*m_typedAnswerField, QColor(0, 0, 0, 128));
        const bool saidNothing = lexi::isBlankAnswer(m_lastAnswer);
        m_typedAnswerField->setVisible(!saidNothing);
        m_typedAnswerIndicator->setVisible(!saidNothing);
        showQuizImage(*m_upperLevelIcon, lexi::levelImageName(origin), levelIconSize);
        showQuizImage(*m_arrow, u"arrow_down"_s, QSize(20, 32));
        m_upperLevelIcon->setVisible(origin != 0);
        m_arrow->setVisible(origin != 0);
        showQuizImage(*m_typedAnswerIndicator, u"strikeout_32"_s, indicatorSize);
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(level), levelIconSize);
        if (origin != 0)
            showHelp(*m_verdictHelp, u"quizWrongHelpText"_s, lexi::Settings::hasShownQuizHelpWrongAnswer);
        else
            m_verdictHelp->hide();
        break;
    }
    }
}

void QLXTypingQuizController::showHelp(QLabel &bubble, const QString &key, const lexi::SettingKey<bool> &shownFlag)
{
    bubble.setText(quizText(key));
    lexi::Settings settings(m_services.defaults);
    const bool show = !settings.value(shownFlag);
    bubble.setVisible(show);
    if (show)
        settings.setValue(shownFlag, true);
}

void QLXTypingQuizController::showProgress()
{
    const qint64 running = m_run.numberOfAnswers() + 1;
    m_statusText->setText(lexi::format(quizText(u"progressStatus"_s), running, numberOfWordsToAsk()));
    m_progressBar->setTotal(quint64(std::max<qint64>(numberOfWordsToAsk(), 0)));
    m_progressBar->setProgress(quint64(std::max<qint64>(running, 0)));
}

void QLXTypingQuizController::executeShowStatistics()
{
    m_flip.flipFirstHalf(*m_card);
    m_card->setIsSplit(false);
    m_run.finish(m_dontAskAgainBox->isChecked(), m_iKnewItBox->isChecked());
    m_dontAskAgainBox->setChecked(false);
    m_iKnewItBox->setChecked(false);
    m_services.keeper.requestSync();
    m_pages.showPage(lexi::QuizPages::TypingResults);

    const lexi::QuizResults results = m_run.results();
    m_resultsCard->resultsView().showResults(results);
    m_resultsCard->resultsView().pieChart().setEmpty(results.total <= 0);
    setControl(restartButton(), numberOfWrong() > 0 && !wrongAnsweredWords().isEmpty());
    newQuizButton().setFocus();

    m_flip.flipSecondHalf(*m_resultsCard);
    m_progressBar->hide();
    m_services.ratingPrompt.logEvent(true);
    emit runEnded();
}

void QLXTypingQuizController::executeRestartQuizWithWrong()
{
    m_flip.flipFirstHalf(*m_resultsCard);
    m_card->setIsSplit(true);
    m_card->setColorNeutral();
    m_run.restartWithWrong();
    showFirstQuestion();
    m_pages.showPage(lexi::QuizPages::TypingQuiz);
    focusAnswerField();
    m_flip.flipSecondHalf(*m_card);
}

void QLXTypingQuizController::iKnewIt()
{
    const quint64 origin = m_run.lastWordOriginLevel();
    if (m_iKnewItBox->isChecked()) {
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(origin), levelIconSize);
        showQuizImage(*m_upperLevelIcon, lexi::levelImageName(m_run.levelAfterIKnewIt()), levelIconSize);
        showQuizImage(*m_arrow, u"arrow_up"_s, QSize(20, 32));
        m_upperLevelIcon->show();
        m_arrow->setVisible(origin != QLXWord::nativeLevel);
        m_card->setColorCorrect();
        m_verdictHelp->setText(quizText(correctAnswerHelpKey(origin)));
    } else {
        const quint64 present = lastWord() ? lastWord()->level() : origin;
        showQuizImage(*m_upperLevelIcon, lexi::levelImageName(origin), levelIconSize);
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(present), levelIconSize);
        showQuizImage(*m_arrow, u"arrow_down"_s, QSize(20, 32));
        m_arrow->setVisible(origin != present);
        m_upperLevelIcon->setVisible(origin != present);
        if (m_run.lastWasJustMisspelled()) {
            m_card->setColorMisspelled();
            m_verdictHelp->setText(quizText(u"quizMisspelledHelpText"_s));
        } else {
            m_card->setColorWrong();
            m_verdictHelp->setText(quizText(u"quizWrongHelpText"_s));
        }
    }
    // The box was clicked or toggled by key: the keys go back to the answer, or to the results
    // after the last word.
    if (m_answerField->isEnabled())
        m_answerField->setFocus();
    else if (m_resultsButton->isEnabled())
        m_resultsButton->setFocus();
}

void QLXTypingQuizController::editLastWord()
{
    if (lastWord())
        emit editWordRequested(lastWord(), m_editButton);
}

void QLXTypingQuizController::wordPopoverDidEditWords(const lexi::WordList &)
{
    emit wordPopoverShouldClose();
    if (!lastWord())
        return;
    const QLXWord &edited = *lastWord();
    m_expectedAnswerField->setText(lexi::expectedSide(edited, m_lastAskedForeign));
    m_previousQuestionField->setText(m_lastAskedForeign ? edited.yourWord() : edited.foreignWord());
    m_commentField->setText(edited.comment());
    m_services.keeper.requestSync();
}

void QLXTypingQuizController::wordPopoverDidDeleteWords(const lexi::WordList &words)
{
    emit wordPopoverShouldClose();
    // The words are gone: they are not asked again.
    m_run.wordsDeleted(words);
    lexi::showVerdictWordDeleted(*m_deletedMark, *m_editButton, *m_dontAskAgainBox, *m_iKnewItBox);
    m_services.keeper.requestSync();
}

void QLXTypingQuizController::wordPopoverDidCancelEditWords(const lexi::WordList &)
{
    emit wordPopoverShouldClose();
}

void QLXTypingQuizController::leave()
{
    m_pendingStep.cancel();
    // A step cancelled between its picture and its answer turns no card.
    m_flip.cancelFirstHalf();
    m_focusStep.cancel();
    m_run.end();
}

void QLXTypingQuizController::resetQuizHelp()
{
    lexi::Settings settings(m_services.defaults);
    for (const lexi::SettingKey<bool> *flag :
         {&lexi::Settings::hasShownQuizHelpQuestion, &lexi::Settings::hasShownQuizHelpCorrectAnswer,
          &lexi::Settings::hasShownQuizHelpMisspelledAnswer, &lexi::Settings::hasShownQuizHelpWrongAnswer})
        settings.setValue(*flag, false);
}

void QLXTypingQuizController::focusAnswerField()
{
    if (m_answerField->isEnabled())
        m_answerField->setFocus();
}

bool QLXTypingQuizController::eventFilter(QObject *watched, QEvent *event)
{
    // Return held down repeats its key; only the first press answers, and the last answer's Return
    // does not go on to show the results.
    if ((watched == m_answerField || watched == m_resultsButton) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
