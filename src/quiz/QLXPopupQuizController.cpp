// The pop-up quiz's run as its window and page show it: questions, verdicts, results, and the
// window coming up over other programs and going away again.
#include "QLXPopupQuizController.h"

#include "PopupWindowPlacement.h"
#include "QuizImages.h"
#include "QuizInputSources.h"
#include "QuizTexts.h"
#include "VerdictControls.h"

#include "model/VocabularyKeeper.h"
#include "platform/files/Settings.h"
#include "platform/ports/FocusReturn.h"
#include "platform/values/Format.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"
#include "views/QLXPieChart.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>

using namespace Qt::StringLiterals;
using lexi::quizText;
using lexi::showQuizImage;
using Face = lexi::PopupQuizRun::VerdictFace;

namespace {

using lexi::setControl;

constexpr QSize levelIconSize(28, 28);
constexpr QSize arrowSize(16, 26);

// The answer in black, or faint as a misspelled or wrong one.
void setAnswerColor(QLabel &label, bool faint)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, faint ? QColor(0, 0, 0, 128) : QColor(Qt::black));
    label.setPalette(palette);
}

} // namespace

QLXPopupQuizController::QLXPopupQuizController(const lexi::QuizServices &services, lexi::QuizPages &pages,
                                               lexi::FocusReturn &focusReturn, QObject *parent)
    : lexi::QuizMode(parent), QLXQuizInterface(services.defaults), m_services(services), m_pages(pages),
      m_focusReturn(focusReturn), m_run(*this, services.defaults, services.scheduler, services.clock, services.keeper),
      // Wayland windows have no position the program could set or read.
      m_isWindowPositioned(!QGuiApplication::platformName().startsWith(u"wayland"_s))
{
    const lexi::Settings settings(services.defaults);
    setAskForYourWord(settings.value(lexi::Settings::askForYourWord));
    setAskForForeignWord(settings.value(lexi::Settings::askForForeignWord) || !askForYourWord());
    setNumberOfWordsToAsk(lexi::PopupQuizRun::wordsWhenNoneSupplied);
    buildWindow();
    buildPage();
    localize();
    m_windowCard->setIsSplit(false);
    m_windowCard->setColorRightSide(false);
    m_windowPages->setCurrentIndex(QuestionPage);
    pages.setPage(lexi::QuizPages::PopupQuiz, m_page);

    connect(&m_run, &lexi::PopupQuizRun::questionShown, this, &QLXPopupQuizController::showQuestion);
    connect(&m_run, &lexi::PopupQuizRun::resultsShown, this, &QLXPopupQuizController::showResults);
    connect(&services.keeper, &lexi::VocabularyKeeper::vocabularyReplaced, this, &QLXPopupQuizController::abandonRun);
    // Quitting with a verdict on show loses none of its boxes; no results come up on the way out.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        const QSignalBlocker quietly(&m_run);
        stopQuiz();
    });
}

QLXPopupQuizController::~QLXPopupQuizController() = default;

QWidget &QLXPopupQuizController::quizWindow() const
{
    return *m_window;
}

QWidget &QLXPopupQuizController::page() const
{
    return *m_page;
}

QWidget *QLXPopupQuizController::start()
{
    startQuiz();
    m_pages.showPage(lexi::QuizPages::PopupQuiz);
    return m_pageCard;
}

void QLXPopupQuizController::startQuiz()
{
    m_keepProgram.emplace();
    m_stopButton->setEnabled(true);
    m_intervalField->setValue(int(m_run.questionIntervalMinutes()));
    emit runStarted();
    m_run.startQuiz();
}

void QLXPopupQuizController::showQuestion()
{
    // Whatever the learner works in now gets the focus back after Next.
    m_focusReturn.rememberFocusedWindow();
    clearBoxes();
    setControl(*m_editButton, false);
    m_deletedMark->hide();
    m_windowCard->setColorRightSide(false);

    const std::shared_ptr<QLXWord> &word = m_run.currentWord();
    m_questionField->setText(m_run.questionText());
    m_questionComment->setText(word->comment());
    m_questionComment->setVisible(isShowCommentWithQuestion() && !word->comment().isEmpty());
    m_answerField->clear();
    m_windowPages->setCurrentIndex(QuestionPage);
    bringWindowToFront();
    m_answerField->setFocus();
}

void QLXPopupQuizController::checkWord()
{
    if (!m_run.checkWord(m_answerField->text()))
        return;
    const QLXWord &word = *m_run.currentWord();
    const bool foreign = m_run.lastAskedForeign();
    m_commentLabel->setText(word.comment());
    m_commentLabel->setVisible(!word.comment().isEmpty());
    m_answerLabel->setText(m_run.lastAnswer());
    m_expectedLabel->setText(lexi::expectedSide(word, foreign));
    m_askedLabel->setText(foreign ? word.yourWord() : word.foreignWord());
    clearBoxes();
    showFace(m_run.verdictFace());
    setControl(*m_editButton, true);
    m_deletedMark->hide();
    m_windowPages->setCurrentIndex(AnswerPage);
    m_nextButton->setFocus();
}

void QLXPopupQuizController::showFace(const Face &face)
{
    m_windowCard->setColorRightSide(true);
    switch (face.colour) {
    case Face::Colour::Correct:
        m_windowCard->setColorCorrect();
        break;
    case Face::Colour::Synonym:
        m_windowCard->setColorSynonym();
        break;
    case Face::Colour::Misspelled:
        m_windowCard->setColorMisspelled();
        break;
    case Face::Colour::Wrong:
        m_windowCard->setColorWrong();
        break;
    }
    m_answerMark->setText(face.mark);
    for (QLabel *label : {m_answerLabel, m_answerMark}) {
        setAnswerColor(*label, face.isAnswerFaint);
        label->setVisible(face.isAnswerShown);
    }
    m_expectedLabel->setVisible(face.isExpectedShown);
    m_expectedMark->setVisible(face.isExpectedShown);
    showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(face.lowerLevel), levelIconSize);
    if (face.upperLevel)
        showQuizImage(*m_upperLevelIcon, lexi::levelImageName(*face.upperLevel), levelIconSize);
    showQuizImage(*m_arrow, face.isArrowUp ? u"arrow_up"_s : u"arrow_down"_s, arrowSize);
    m_upperLevelIcon->setVisible(face.upperLevel.has_value());
    m_arrow->setVisible(face.upperLevel.has_value());
    setControl(*m_dontAskAgainBox, face.offersDontAskAgain);
    setControl(*m_iKnewItBox, face.offersIKnewIt);
}

void QLXPopupQuizController::iKnewIt()
{
    if (m_run.stage() == lexi::PopupQuizRun::Stage::Verdict)
        showFace(m_run.iKnewItFace(m_iKnewItBox->isChecked()));
}

void QLXPopupQuizController::clearBoxes()
{
    m_dontAskAgainBox->setChecked(false);
    m_iKnewItBox->setChecked(false);
}

void QLXPopupQuizController::next()
{
    if (m_run.stage() != lexi::PopupQuizRun::Stage::Verdict)
        return;
    emit wordPopoverShouldClose();
    m_run.next(m_dontAskAgainBox->isChecked(), m_iKnewItBox->isChecked());
    clearBoxes();
    m_windowCard->setColorRightSide(false);
    m_answerField->clear();
    parkWindow();
}

void QLXPopupQuizController::stopQuiz()
{
    if (!m_run.isInProgress())
        return;
    emit wordPopoverShouldClose();
    m_run.stopQuiz(m_dontAskAgainBox->isChecked(), m_iKnewItBox->isChecked());
}

void QLXPopupQuizController::showResults()
{
    clearBoxes();
    m_windowCard->setColorRightSide(false);
    const lexi::QuizResults results = m_run.results();
    m_resultsView->showResults(results);
    m_resultsView->pieChart().setVisible(results.total > 0);
    m_windowPages->setCurrentIndex(ResultPage);
    bringWindowToFront();
    m_closeButton->setFocus();

    m_stopButton->setEnabled(false);
    m_keepProgram.reset();
    emit runEnded();
}

void QLXPopupQuizController::close()
{
    // Closed, not hidden: with the main window closed before, the program ends with it.
    m_window->close();
}

void QLXPopupQuizController::leave()
{
    emit wordPopoverShouldClose();
    m_run.end();
    m_activationCheck.cancel();
    m_window->hide();
    m_stopButton->setEnabled(false);
    m_keepProgram.reset();
}

void QLXPopupQuizController::abandonRun()
{
    if (!m_run.isInProgress())
        return;
    leave();
    emit runEnded();
}

void QLXPopupQuizController::updateInterval(int minutes)
{
    m_run.updateInterval(minutes);
}

void QLXPopupQuizController::bringWindowToFront()
{
    if (m_isWindowPositioned) {
        const QPointF origin =
            lexi::Settings(m_services.defaults).popupQuizWindowOrigin().value_or(lexi::defaultPopupWindowOrigin);
        const QScreen *screen = QGuiApplication::screenAt(origin.toPoint());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen) {
            const QSize frame = m_window->frameGeometry().size().expandedTo(m_window->size());
            m_window->move(lexi::popupWindowPosition(origin, frame, screen->availableGeometry()));
        }
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_activationCheck = m_services.scheduler.after(activationWait, [this] {
        if (m_window->isVisible() && !m_window->isActiveWindow())
            QApplication::alert(m_window.get());
    });
}

void QLXPopupQuizController::parkWindow()
{
    m_activationCheck.cancel();
    m_window->hide();
    if (const std::shared_ptr<Lexicarta> &words = vocabulary())
        lexi::selectQuizInputSource(*words, words->yourTextInputSource());
    m_focusReturn.returnFocus();
}

void QLXPopupQuizController::storeWindowPosition()
{
    if (!m_isWindowPositioned || !m_window->isVisible())
        return;
    const QPoint origin = m_window->pos();
    if (origin.x() >= 0 && origin.y() >= 0)
        lexi::Settings(m_services.defaults).setPopupQuizWindowOrigin(origin);
}

bool QLXPopupQuizController::isAnotherWindowShown() const
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [this](const QWidget *window) {
        return window != m_window.get() && window->isVisible() && window->testAttribute(Qt::WA_QuitOnClose);
    });
}

bool QLXPopupQuizController::windowShouldClose()
{
    if (m_run.isInProgress() && isAnotherWindowShown()) {
        stopQuiz();
        return false;
    }
    // On the results, or the program's last window: a run ends with it, everything settled and
    // saved, and the quiz tab goes back to the set-up page.
    stopQuiz();
    m_run.close();
    m_activationCheck.cancel();
    emit newQuizRequested();
    return true;
}

bool QLXPopupQuizController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window.get()) {
        if (event->type() == QEvent::Move) {
            storeWindowPosition();
        } else if (event->type() == QEvent::Close && !windowShouldClose()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void QLXPopupQuizController::editLastWord()
{
    if (m_run.currentWord())
        emit editWordRequested(m_run.currentWord(), m_editButton);
}

void QLXPopupQuizController::wordPopoverDidEditWords(const lexi::WordList &)
{
    emit wordPopoverShouldClose();
    const std::shared_ptr<QLXWord> &word = m_run.currentWord();
    if (!word)
        return;
    const bool foreign = m_run.lastAskedForeign();
    m_expectedLabel->setText(lexi::expectedSide(*word, foreign));
    m_askedLabel->setText(foreign ? word->yourWord() : word->foreignWord());
    m_commentLabel->setText(word->comment());
    m_commentLabel->setVisible(!word->comment().isEmpty());
    m_services.keeper.requestSync();
}

void QLXPopupQuizController::wordPopoverDidDeleteWords(const lexi::WordList &words)
{
    emit wordPopoverShouldClose();
    // The words are gone: they are not asked again.
    m_run.wordsDeleted(words);
    lexi::showVerdictWordDeleted(*m_deletedMark, *m_editButton, *m_dontAskAgainBox, *m_iKnewItBox);
    m_services.keeper.requestSync();
}

void QLXPopupQuizController::wordPopoverDidCancelEditWords(const lexi::WordList &)
{
    emit wordPopoverShouldClose();
}

void QLXPopupQuizController::languageTextFieldDidBecomeActive(QLXLanguageTextField *)
{
    const std::shared_ptr<Lexicarta> &words = vocabulary();
    if (words && words->isAutoSelectInputSource())
        lexi::selectQuizInputSource(*words, m_run.lastAskedForeign() ? words->foreignTextInputSource()
                                                                     : words->yourTextInputSource());
}

void QLXPopupQuizController::languageTextFieldDidLoseFocus(QLXLanguageTextField *) {}
