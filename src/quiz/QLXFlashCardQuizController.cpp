// The flash-card page as the run says: the card's face, the progress, the controls, the results.
#include "QLXFlashCardQuizController.h"

#include "QuizImages.h"
#include "QuizTexts.h"
#include "VerdictControls.h"

#include "platform/files/StringTables.h"
#include "platform/values/Format.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"
#include "views/QLXPieChart.h"
#include "views/QLXProgressBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;
using lexi::FlashCardFace;
using lexi::quizText;

namespace {

using lexi::setControl;

constexpr QSize levelIconSize(28, 28);
constexpr QSize arrowSize(14, 22);

// Draws the image only when it changes: the page is shown anew at every step.
void showImage(QLabel &label, const QString &name, QSize size)
{
    if (label.property("imageName").toString() != name)
        lexi::showQuizImage(label, name, size);
}

// A mark that is on shows in full, one that is off faded.
void setButtonActive(QAbstractButton &button, bool active)
{
    button.setChecked(active);
    static_cast<QGraphicsOpacityEffect *>(button.graphicsEffect())->setOpacity(active ? 1.0 : 0.4);
}

} // namespace

QLXFlashCardQuizController::QLXFlashCardQuizController(const lexi::QuizServices &services, lexi::QuizPages &pages,
                                                       QObject *parent)
    : lexi::QuizMode(parent), QLXQuizInterface(services.defaults), m_services(services), m_pages(pages),
      m_flip(pages, services.scheduler, services.clock),
      m_run(*this, {services.defaults, services.scheduler, services.keeper, services.ratingPrompt}, *this)
{
    const lexi::Settings settings(services.defaults);
    setAskForYourWord(settings.value(lexi::Settings::askForYourWord));
    setAskForForeignWord(settings.value(lexi::Settings::askForForeignWord) || !askForYourWord());
    buildCardSide();
    buildResultsSide();
    buildKeys();
    localize();
    pages.setPage(lexi::QuizPages::FlashCards, m_page);
    connect(&m_flip, &lexi::CardFlip::finished, this, &QLXFlashCardQuizController::keepKeyboardOnPage);
    m_run.awake();
}

QWidget *QLXFlashCardQuizController::start()
{
    m_sides->setCurrentWidget(m_cardSide);
    m_run.startQuiz();
    m_pages.showPage(lexi::QuizPages::FlashCards);
    keepKeyboardOnPage();
    return &shownCard();
}

void QLXFlashCardQuizController::leave()
{
    m_run.leave();
}

void QLXFlashCardQuizController::showRun()
{
    showFace();
    const bool isProgressShown = m_run.isProgressShown();
    m_statusText->setVisible(isProgressShown);
    m_progressBar->setVisible(isProgressShown);
    m_statusText->setText(
        lexi::format(quizText(u"progressStatus"_s), m_run.runningNumber(), m_run.numberOfWordsToAsk()));
    m_progressBar->setTotal(quint64(std::max<qint64>(m_run.numberOfWordsToAsk(), 0)));
    m_progressBar->setProgress(quint64(std::max<qint64>(m_run.runningNumber(), 0)));

    {
        const QSignalBlocker blocker(m_flipSpeedSlider);
        m_flipSpeedSlider->setValue(m_run.flipLevel());
    }
    m_playButton->setEnabled(m_run.isPlayOffered());
    const bool isPlaying = m_run.isAutoPlay();
    const QString playImage = isPlaying ? u"pause"_s : u"play"_s;
    if (m_playButton->property("imageName").toString() != playImage) {
        m_playButton->setIcon(QIcon(lexi::quizImage(playImage, QSize(24, 24))));
        m_playButton->setProperty("imageName", playImage);
    }
    m_playButton->setToolTip(
        lexi::format(lexi::StringTables::text(u"keyHint"_s, u"Learn"_s),
                     lexi::StringTables::text(isPlaying ? u"pause"_s : u"play"_s, u"Learn"_s), u"P"_s));
    if (m_sides->currentWidget() == m_resultsSide)
        showResults();
}

void QLXFlashCardQuizController::showFace()
{
    const FlashCardFace &face = m_run.face();
    m_questionField->setText(face.question);
    m_answerField->setText(face.answer);
    m_answerField->setVisible(face.isAnswerShown);
    m_commentField->setText(face.comment);
    m_commentField->setVisible(face.isCommentShown && !face.comment.isEmpty());
    switch (face.color) {
    case FlashCardFace::Color::Neutral:
        m_card->setColorNeutral();
        break;
    case FlashCardFace::Color::Correct:
        m_card->setColorCorrect();
        break;
    case FlashCardFace::Color::Wrong:
        m_card->setColorWrong();
        break;
    }

    showImage(*m_levelIcon, lexi::levelImageName(face.level), levelIconSize);
    showImage(*m_upperLevelIcon, lexi::levelImageName(face.levelAfterCorrect), levelIconSize);
    showImage(*m_lowerLevelIcon, lexi::levelImageName(face.levelAfterWrong), levelIconSize);
    m_upperLevelIcon->setVisible(face.isRiseShown);
    m_upArrow->setVisible(face.isRiseShown);
    m_lowerLevelIcon->setVisible(face.isFallShown);
    m_downArrow->setVisible(face.isFallShown);

    m_buttonArea->setCurrentIndex(face.buttons == FlashCardFace::Buttons::Marks ? 0 : 1);
    setButtonActive(*m_correctButton, face.isCorrectMarked);
    setButtonActive(*m_wrongButton, face.isWrongMarked);
    setControl(*m_dontAskAgainBox, face.isDontAskAgainOffered);
    {
        const QSignalBlocker blocker(m_dontAskAgainBox);
        m_dontAskAgainBox->setChecked(face.isDontAskAgainTicked);
    }
    setControl(*m_editButton, face.isEditOffered);
    m_deletedMark->setVisible(face.isDeletedMarkShown);
    setControl(*m_showAnswerButton, m_run.isShowAnswerEnabled());
}

void QLXFlashCardQuizController::showResults()
{
    const lexi::QuizResults results = m_run.results();
    // The middle slice and count are the skipped cards'.
    m_resultsCard->resultsView().showResults(results);
    m_resultsCard->resultsView().pieChart().setEmpty(results.total <= 0);
    setControl(restartButton(), m_run.isRestartOffered());
}

void QLXFlashCardQuizController::showSide(Side side)
{
    m_sides->setCurrentWidget(side == Side::Results ? m_resultsSide : m_cardSide);
    keepKeyboardOnPage();
}

QWidget &QLXFlashCardQuizController::shownCard() const
{
    return m_sides->currentWidget() == m_resultsSide ? static_cast<QWidget &>(*m_resultsCard) : *m_card;
}

bool QLXFlashCardQuizController::flipFirstHalf()
{
    return m_flip.flipFirstHalf(shownCard());
}

void QLXFlashCardQuizController::flipSecondHalf(bool reverse)
{
    m_flip.flipSecondHalf(shownCard(), reverse ? lexi::CardFlip::Direction::Reverse : lexi::CardFlip::Direction::Forward);
}

void QLXFlashCardQuizController::resultsShown()
{
    emit runEnded();
}

// During a run the keys act on the card, and on the results their buttons take them: the keyboard
// never wanders off the page, not even when the card gives way to the pictures of its flip.
void QLXFlashCardQuizController::keepKeyboardOnPage()
{
    QWidget *side = m_sides->currentWidget();
    const QWidget *focus = QApplication::focusWidget();
    if (!side->isVisible() || (focus && side->isAncestorOf(focus)))
        return;
    if (side == m_resultsSide)
        newQuizButton().setFocus();
    else if (m_run.isRunInProgress())
        m_cardSide->setFocus();
}

void QLXFlashCardQuizController::editCurrentWord()
{
    if (!m_run.currentWord() || !m_run.face().isEditOffered)
        return;
    // The slideshow waits while the learner edits its card.
    m_run.stopPlaying();
    emit editWordRequested(m_run.currentWord(), m_editButton);
}

void QLXFlashCardQuizController::wordPopoverDidEditWords(const lexi::WordList &)
{
    emit wordPopoverShouldClose();
    m_run.currentWordEdited();
}

void QLXFlashCardQuizController::wordPopoverDidDeleteWords(const lexi::WordList &words)
{
    emit wordPopoverShouldClose();
    m_run.wordsDeleted(words);
}

void QLXFlashCardQuizController::wordPopoverDidCancelEditWords(const lexi::WordList &)
{
    emit wordPopoverShouldClose();
}
