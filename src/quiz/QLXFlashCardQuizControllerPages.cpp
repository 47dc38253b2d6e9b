// Building the flash-card page: the card with its controls, the speed slider, the results, the
// keys and the localized texts.
#include "QLXFlashCardQuizController.h"
#include "QuizImages.h"
#include "QuizTexts.h"
#include "TypingQuizLook.h"

#include "platform/files/StringTables.h"
#include "platform/values/Format.h"
#include "views/PageLayout.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"
#include "views/QLXProgressBar.h"

#include <QCheckBox>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using lexi::quizText;
using lexi::typingQuiz::cardSize;
using lexi::typingQuiz::setHelveticaSize;
using lexi::typingQuiz::setTextColor;

namespace {

QString learnText(const QString &key)
{
    return lexi::StringTables::text(key, u"Learn"_s);
}

// The card's texts are dark on its fixed light colours under any palette.
const QColor cardTextColor(25, 25, 25);

QLabel *cardText(QWidget *parent, int points)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    setHelveticaSize(*label, points);
    setTextColor(*label, cardTextColor);
    return label;
}

// A text on the page's coloured background.
QLabel *pageText(QWidget *parent)
{
    auto *label = new QLabel(parent);
    setTextColor(*label, QColor(255, 255, 255, 210));
    return label;
}

// The card's controls never take the keyboard: its keys act on the card wherever it is.
template<typename Button>
Button *cardButton(QWidget *parent)
{
    auto *button = new Button(parent);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton *markButton(QWidget *parent, const QString &image)
{
    auto *button = cardButton<QToolButton>(parent);
    button->setCheckable(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIcon(QIcon(lexi::quizImage(image, QSize(22, 22))));
    button->setIconSize(QSize(22, 22));
    button->setMinimumHeight(34);
    button->setGraphicsEffect(new QGraphicsOpacityEffect(button));
    return button;
}

// "<text> (<key>)", as the tooltips show a control's key.
QString withKey(const QString &text, const QKeySequence &key)
{
    return lexi::format(learnText(u"keyHint"_s), text, key.toString(QKeySequence::NativeText));
}

} // namespace

void QLXFlashCardQuizController::buildCardSide()
{
    m_page = new QLXBookmarkView(m_services.theme);
    m_sides = new QStackedWidget(m_page);
    m_cardSide = new QWidget;
    m_cardSide->setFocusPolicy(Qt::StrongFocus);

    m_card = new QLXCardView;
    m_card->setFixedSize(cardSize);
    m_card->setIsSplit(false);
    // The card shows its verdict colour all over.
    m_card->setColorRightSide(true);
    // The card's place stays while the flip's pictures stand in for it.
    QSizePolicy keepsPlace = m_card->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    m_card->setSizePolicy(keepsPlace);

    m_questionField = cardText(m_card, 26);
    m_answerField = cardText(m_card, 22);
    setTextColor(*m_answerField, QColor(30, 70, 95));
    m_commentField = cardText(m_card, 13);
    setTextColor(*m_commentField, QColor(90, 90, 90));

    m_upperLevelIcon = new QLabel(m_card);
    m_upArrow = new QLabel(m_card);
    m_levelIcon = new QLabel(m_card);
    m_downArrow = new QLabel(m_card);
    m_lowerLevelIcon = new QLabel(m_card);
    lexi::showQuizImage(*m_upArrow, u"arrow_up"_s, QSize(14, 22));
    lexi::showQuizImage(*m_downArrow, u"arrow_down"_s, QSize(14, 22));
    auto *levels = new QVBoxLayout;
    levels->setSpacing(2);
    for (QLabel *icon : {m_upperLevelIcon, m_upArrow, m_levelIcon, m_downArrow, m_lowerLevelIcon}) {
        icon->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        QSizePolicy policy = icon->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        icon->setSizePolicy(policy);
        icon->setMinimumSize(28, 22);
        icon->setAlignment(Qt::AlignCenter);
        levels->addWidget(icon, 0, Qt::AlignHCenter);
    }
    levels->addStretch();

    // The button area: the marks under an answer (page 0), the show-answer button under a question.
    m_buttonArea = new QStackedWidget(m_card);
    auto *marks = new QWidget;
    m_correctButton = markButton(marks, u"checkmark_32"_s);
    m_wrongButton = markButton(marks, u"strikeout_32"_s);
    m_dontAskAgainBox = cardButton<QCheckBox>(marks);
    QPalette onCard = m_dontAskAgainBox->palette();
    onCard.setColor(QPalette::WindowText, QColor(25, 25, 25));
    m_dontAskAgainBox->setPalette(onCard);
    auto *marksLayout = new QHBoxLayout(marks);
    marksLayout->setContentsMargins(0, 0, 0, 0);
    marksLayout->addStretch();
    marksLayout->addWidget(m_dontAskAgainBox);
    marksLayout->addSpacing(12);
    marksLayout->addWidget(m_wrongButton);
    marksLayout->addWidget(m_correctButton);
    auto *question = new QWidget;
    m_showAnswerButton = cardButton<QPushButton>(question);
    m_showAnswerButton->setMinimumSize(140, 34);
    auto *questionLayout = new QHBoxLayout(question);
    questionLayout->setContentsMargins(0, 0, 0, 0);
    questionLayout->addStretch();
    questionLayout->addWidget(m_showAnswerButton);
    m_buttonArea->addWidget(marks);
    m_buttonArea->addWidget(question);
    m_buttonArea->setFixedHeight(40);

    m_editButton = cardButton<QPushButton>(m_card);
    m_deletedMark = cardText(m_card, 13);
    setTextColor(*m_deletedMark, QColor(173, 51, 73));

    auto *texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(m_questionField);
    texts->addSpacing(14);
    texts->addWidget(m_answerField);
    texts->addSpacing(8);
    texts->addWidget(m_commentField);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addSpacing(40);
    top->addLayout(texts, 1);
    top->addLayout(levels);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_editButton);
    bottom->addWidget(m_deletedMark);
    bottom->addStretch();
    bottom->addWidget(m_buttonArea, 1);
    auto *cardLayout = new QVBoxLayout(m_card);
    cardLayout->setContentsMargins(24, 18, 20, 16);
    cardLayout->addLayout(top, 1);
    cardLayout->addLayout(bottom);

    // Below the card: play and pause, and the flip-speed slider with its four positions.
    m_playButton = new QToolButton;
    m_playButton->setAutoRaise(true);
    m_playButton->setIconSize(QSize(24, 24));
    m_playButton->setFocusPolicy(Qt::NoFocus);
    m_flipSpeedTitle = pageText(nullptr);
    m_flipSpeedSlider = new QSlider(Qt::Horizontal);
    m_flipSpeedSlider->setRange(lexi::FlipSpeed::offLevel, lexi::FlipSpeed::fastestLevel);
    m_flipSpeedSlider->setPageStep(1);
    m_flipSpeedSlider->setTickPosition(QSlider::TicksBelow);
    m_flipSpeedSlider->setFixedWidth(240);
    m_flipSpeedSlider->setFocusPolicy(Qt::TabFocus);
    auto *speedLabels = new QHBoxLayout;
    speedLabels->setContentsMargins(0, 0, 0, 0);
    for (int level = lexi::FlipSpeed::offLevel; level <= lexi::FlipSpeed::fastestLevel; ++level) {
        m_flipSpeedLabels[level] = pageText(nullptr);
        if (level > lexi::FlipSpeed::offLevel)
            speedLabels->addStretch();
        speedLabels->addWidget(m_flipSpeedLabels[level]);
    }
    auto *speedColumn = new QVBoxLayout;
    speedColumn->setSpacing(2);
    speedColumn->addWidget(m_flipSpeedTitle);
    speedColumn->addWidget(m_flipSpeedSlider);
    speedColumn->addLayout(speedLabels);
    auto *speedBox = new QWidget;
    speedBox->setFixedWidth(250);
    speedBox->setLayout(speedColumn);
    speedColumn->setContentsMargins(0, 0, 0, 0);
    auto *speedRow = new QHBoxLayout;
    speedRow->addStretch();
    speedRow->addWidget(m_playButton);
    speedRow->addSpacing(8);
    speedRow->addWidget(speedBox);

    m_statusText = pageText(nullptr);
    m_progressBar = new QLXProgressBar;
    m_progressBar->setFixedSize(cardSize.width(), 6);
    m_progressBar->setCornerRadius(3);
    for (QWidget *progress : {static_cast<QWidget *>(m_statusText), static_cast<QWidget *>(m_progressBar)}) {
        QSizePolicy policy = progress->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        progress->setSizePolicy(policy);
    }

    auto *column = new QVBoxLayout;
    column->setSpacing(10);
    column->addWidget(m_statusText, 0, Qt::AlignLeft);
    column->addWidget(m_progressBar);
    column->addWidget(m_card);
    column->addLayout(speedRow);
    lexi::placeInTheMiddle(*m_cardSide, *column);
    m_sides->addWidget(m_cardSide);

    auto *pageLayout = new QVBoxLayout(m_page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(m_sides);

    connect(m_showAnswerButton, &QPushButton::clicked, this, [this] { m_run.showSolution(); });
    connect(m_correctButton, &QToolButton::clicked, this, [this] { m_run.markCorrect(); });
    connect(m_wrongButton, &QToolButton::clicked, this, [this] { m_run.markWrong(); });
    connect(m_dontAskAgainBox, &QCheckBox::toggled, this, [this](bool ticked) { m_run.setDontAskAgainTicked(ticked); });
    connect(m_editButton, &QPushButton::clicked, this, &QLXFlashCardQuizController::editCurrentWord);
    connect(m_playButton, &QToolButton::clicked, this, [this] { m_run.togglePlay(); });
    connect(m_flipSpeedSlider, &QSlider::valueChanged, this, [this](int level) { m_run.changeFlipTimeout(level); });
}

void QLXFlashCardQuizController::buildResultsSide()
{
    m_resultsSide = new QWidget;
    lexi::QuizResultsView::Look look = lexi::QuizResultsView::Look::pageCard();
    look.textColor = cardTextColor;
    m_resultsCard = new lexi::QuizResultsCard(look);
    m_resultsCard->newQuizButton().setDefault(true);
    lexi::placeInTheMiddle(*m_resultsSide, *m_resultsCard);
    m_sides->addWidget(m_resultsSide);

    connect(&m_resultsCard->newQuizButton(), &QPushButton::clicked, this,
            &QLXFlashCardQuizController::newQuizRequested);
    connect(&m_resultsCard->restartButton(), &QPushButton::clicked, this, [this] { m_run.restartQuizWithWrong(); });
}

void QLXFlashCardQuizController::buildKeys()
{
    const auto addKey = [this](const QKeySequence &key, auto action) {
        auto *shortcut = new QShortcut(key, m_cardSide);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
        addKey(QKeySequence(key), [this] { m_run.next(); });
    addKey(QKeySequence(Qt::Key_Up), [this] { m_run.markCorrect(); });
    addKey(QKeySequence(Qt::Key_Down), [this] { m_run.markWrong(); });
    addKey(QKeySequence(Qt::Key_P), [this] { m_run.togglePlay(); });
    addKey(QKeySequence(Qt::Key_E), [this] { editCurrentWord(); });
    addKey(QKeySequence(Qt::Key_D), [this] {
        if (m_run.face().isDontAskAgainOffered)
            m_run.setDontAskAgainTicked(!m_run.face().isDontAskAgainTicked);
        showRun();
    });
}

void QLXFlashCardQuizController::localize()
{
    for (int level = lexi::FlipSpeed::offLevel; level <= lexi::FlipSpeed::fastestLevel; ++level)
        m_flipSpeedLabels[level]->setText(learnText(lexi::FlipSpeed::forLevel(level).labelKey));
    m_flipSpeedTitle->setText(learnText(u"flipSpeed"_s));
    m_dontAskAgainBox->setText(quizText(u"dontAskAgain"_s));
    m_dontAskAgainBox->setToolTip(withKey(quizText(u"dontAskAgain"_s), QKeySequence(Qt::Key_D)));
    m_editButton->setText(quizText(u"edit"_s));
    m_editButton->setToolTip(withKey(quizText(u"edit"_s), QKeySequence(Qt::Key_E)));
    m_deletedMark->setText(quizText(u"wordDeleted"_s));
    m_showAnswerButton->setText(learnText(u"showAnswer"_s));
    m_showAnswerButton->setToolTip(withKey(learnText(u"showAnswer"_s), QKeySequence(Qt::Key_Space)));
    m_correctButton->setText(learnText(u"markCorrect"_s));
    m_correctButton->setToolTip(withKey(learnText(u"markCorrect"_s), QKeySequence(Qt::Key_Up)));
    m_wrongButton->setText(learnText(u"markWrong"_s));
    m_wrongButton->setToolTip(withKey(learnText(u"markWrong"_s), QKeySequence(Qt::Key_Down)));
    m_resultsCard->localize(learnText(u"skipped"_s));
}
