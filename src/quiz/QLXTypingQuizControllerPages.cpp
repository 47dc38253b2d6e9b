// Building the typing quiz's question and results pages, and their localized texts.
#include "QLXTypingQuizController.h"
#include "QuizImages.h"
#include "QuizTexts.h"
#include "TypingQuizLook.h"

#include "platform/files/StringTables.h"
#include "views/FittedTextLabel.h"
#include "views/PageLayout.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"
#include "views/QLXProgressBar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using lexi::quizText;
using lexi::showQuizImage;
using lexi::typingQuiz::cardSize;
using lexi::typingQuiz::indicatorSize;
using lexi::typingQuiz::setHelveticaSize;
using lexi::typingQuiz::setTextColor;

namespace {

// The smallest sizes long texts shrink to before they are cut.
constexpr qreal minimumWordPoints = 11;
constexpr qreal minimumCommentPoints = 10;

// A word or a comment on the card: however long, it stays in its half, in at most `lines` lines.
lexi::FittedTextLabel *wordText(QWidget *parent, int points, int lines)
{
    auto *label = new lexi::FittedTextLabel(lines, points >= 14 ? minimumWordPoints : minimumCommentPoints, parent);
    setHelveticaSize(*label, points);
    return label;
}

QLabel *helpBubble(QWidget *parent)
{
    auto *bubble = new QLabel(parent);
    bubble->setWordWrap(true);
    bubble->setFixedWidth(cardSize.width() / 2 - 40);
    bubble->setStyleSheet(u"QLabel { background: #fff4c2; color: #333333; border-radius: 6px; padding: 6px 10px; }"_s);
    bubble->hide();
    return bubble;
}

} // namespace

void QLXTypingQuizController::buildQuestionPage()
{
    m_questionPage = new QLXBookmarkView(m_services.theme);
    m_card = new QLXCardView;
    m_card->setFixedSize(cardSize);

    // The verdict side, on the left half of the card.
    // Each half keeps its width whatever it shows.
    auto *verdictSide = new QWidget(m_card);
    verdictSide->setFixedWidth(cardSize.width() / 2);
    m_previousQuestionField = wordText(verdictSide, 18, 3);
    m_typedAnswerField = wordText(verdictSide, 18, 2);
    m_typedAnswerIndicator = new QLabel(verdictSide);
    m_expectedAnswerField = wordText(verdictSide, 18, 2);
    m_expectedAnswerIndicator = new QLabel(verdictSide);
    m_commentField = wordText(verdictSide, 12, 3);
    setTextColor(*m_commentField, QColor(90, 90, 90));
    m_upperLevelIcon = new QLabel(verdictSide);
    m_arrow = new QLabel(verdictSide);
    m_lowerLevelIcon = new QLabel(verdictSide);
    m_dontAskAgainBox = new QCheckBox(verdictSide);
    m_iKnewItBox = new QCheckBox(verdictSide);
    m_editButton = new QPushButton(verdictSide);
    m_editButton->setAutoDefault(true);
    m_deletedMark = new QLabel(verdictSide);
    setTextColor(*m_deletedMark, QColor(173, 51, 73));
    showQuizImage(*m_expectedAnswerIndicator, u"checkmark_32"_s, indicatorSize);

    auto *answerGrid = new QGridLayout;
    answerGrid->setHorizontalSpacing(6);
    answerGrid->addWidget(m_typedAnswerIndicator, 0, 0, Qt::AlignTop);
    answerGrid->addWidget(m_typedAnswerField, 0, 1);
    answerGrid->addWidget(m_expectedAnswerIndicator, 1, 0, Qt::AlignTop);
    answerGrid->addWidget(m_expectedAnswerField, 1, 1);
    answerGrid->setColumnStretch(1, 1);

    auto *levelMove = new QVBoxLayout;
    levelMove->setSpacing(2);
    levelMove->addWidget(m_upperLevelIcon, 0, Qt::AlignHCenter);
    levelMove->addWidget(m_arrow, 0, Qt::AlignHCenter);
    levelMove->addWidget(m_lowerLevelIcon, 0, Qt::AlignHCenter);
    levelMove->addStretch();

    auto *verdictTop = new QHBoxLayout;
    auto *verdictTexts = new QVBoxLayout;
    verdictTexts->addWidget(m_previousQuestionField);
    verdictTexts->addLayout(answerGrid);
    verdictTexts->addWidget(m_commentField);
    verdictTexts->addStretch();
    verdictTop->addLayout(verdictTexts, 1);
    verdictTop->addLayout(levelMove);

    auto *verdictBottom = new QHBoxLayout;
    verdictBottom->addWidget(m_editButton);
    verdictBottom->addWidget(m_deletedMark);
    verdictBottom->addStretch();

    auto *verdictLayout = new QVBoxLayout(verdictSide);
    verdictLayout->setContentsMargins(22, 18, 22, 16);
    verdictLayout->addLayout(verdictTop, 1);
    verdictLayout->addWidget(m_dontAskAgainBox);
    verdictLayout->addWidget(m_iKnewItBox);
    verdictLayout->addLayout(verdictBottom);

    // The question side, on the right half.
    auto *questionSide = new QWidget(m_card);
    questionSide->setFixedWidth(cardSize.width() - cardSize.width() / 2 - 1);
    m_questionLevelIcon = new QLabel(questionSide);
    m_questionField = wordText(questionSide, 18, 4);
    m_questionComment = wordText(questionSide, 12, 3);
    setTextColor(*m_questionComment, QColor(90, 90, 90));
    m_answerField = new QLineEdit(questionSide);
    setHelveticaSize(*m_answerField, 16);
    m_answerField->setMinimumHeight(34);
    m_answerField->installEventFilter(this);
    m_nextButton = new QPushButton(questionSide);
    m_nextButton->setDefault(true);
    // After the last word it takes Next's place, and Return with it.
    m_resultsButton = new QPushButton(questionSide);
    m_resultsButton->setDefault(true);
    m_resultsButton->installEventFilter(this);

    auto *questionTop = new QHBoxLayout;
    questionTop->addWidget(m_questionField, 1);
    questionTop->addWidget(m_questionLevelIcon, 0, Qt::AlignTop);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_resultsButton);
    buttons->addWidget(m_nextButton);
    auto *questionLayout = new QVBoxLayout(questionSide);
    questionLayout->setContentsMargins(26, 18, 22, 16);
    questionLayout->addLayout(questionTop);
    questionLayout->addWidget(m_questionComment);
    questionLayout->addStretch();
    questionLayout->addWidget(m_answerField);
    questionLayout->addSpacing(8);
    questionLayout->addLayout(buttons);

    auto *cardLayout = new QHBoxLayout(m_card);
    cardLayout->setContentsMargins(0, 0, 0, 0);
    cardLayout->setSpacing(1);
    cardLayout->addWidget(verdictSide);
    cardLayout->addWidget(questionSide);

    m_statusText = new QLabel;
    setTextColor(*m_statusText, QColor(255, 255, 255, 200));
    // Hidden after the last answer, it keeps its line, so the card below does not move up.
    QSizePolicy statusPolicy = m_statusText->sizePolicy();
    statusPolicy.setRetainSizeWhenHidden(true);
    m_statusText->setSizePolicy(statusPolicy);
    m_progressBar = new QLXProgressBar;
    m_progressBar->setFixedSize(cardSize.width(), 6);
    m_progressBar->setCornerRadius(3);
    m_verdictHelp = helpBubble(nullptr);
    m_questionHelp = helpBubble(nullptr);

    auto *column = new QVBoxLayout;
    column->setSpacing(10);
    column->addWidget(m_statusText, 0, Qt::AlignLeft);
    column->addWidget(m_progressBar);
    column->addWidget(m_card);
    auto *helpRow = new QHBoxLayout;
    helpRow->addWidget(m_verdictHelp, 0, Qt::AlignTop | Qt::AlignLeft);
    helpRow->addStretch();
    helpRow->addWidget(m_questionHelp, 0, Qt::AlignTop | Qt::AlignRight);
    auto *helpArea = new QWidget;
    helpArea->setFixedSize(cardSize.width(), 70);
    helpArea->setLayout(helpRow);
    helpRow->setContentsMargins(0, 0, 0, 0);
    column->addWidget(helpArea);

    lexi::placeInTheMiddle(*m_questionPage, *column);

    connect(m_nextButton, &QPushButton::clicked, this, &QLXTypingQuizController::next);
    connect(m_answerField, &QLineEdit::returnPressed, this, &QLXTypingQuizController::next);
    connect(m_resultsButton, &QPushButton::clicked, this, &QLXTypingQuizController::showStatistics);
    connect(m_iKnewItBox, &QCheckBox::clicked, this, &QLXTypingQuizController::iKnewIt);
    connect(m_editButton, &QPushButton::clicked, this, &QLXTypingQuizController::editLastWord);
}

void QLXTypingQuizController::buildResultsPage()
{
    m_resultsPage = new QLXBookmarkView(m_services.theme);
    m_resultsCard = new lexi::QuizResultsCard(lexi::QuizResultsView::Look::pageCard());
    lexi::placeInTheMiddle(*m_resultsPage, *m_resultsCard);

    connect(&m_resultsCard->newQuizButton(), &QPushButton::clicked, this, &QLXTypingQuizController::newQuizRequested);
    connect(&m_resultsCard->restartButton(), &QPushButton::clicked, this,
            &QLXTypingQuizController::restartQuizWithWrong);
}

void QLXTypingQuizController::localize()
{
    m_resultsCard->localize(quizText(u"misspelled"_s));
    m_dontAskAgainBox->setText(quizText(u"dontAskAgain"_s));
    m_iKnewItBox->setText(quizText(u"iKnewIt"_s));
    m_resultsButton->setText(quizText(u"showResults"_s));
    m_nextButton->setText(quizText(u"flipCard"_s));
    m_questionHelp->setText(quizText(u"cardRightHelpText"_s));
    m_editButton->setText(quizText(u"edit"_s));
    m_deletedMark->setText(quizText(u"wordDeleted"_s));
}
