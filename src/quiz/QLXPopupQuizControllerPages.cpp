// Building the pop-up quiz's window (question, answer and result pages) and its page in the quiz
// tab, and their localized texts.
#include "QLXPopupQuizController.h"

#include "QuizImages.h"
#include "QuizTexts.h"

#include "views/PageLayout.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using lexi::quizText;

namespace {

constexpr QSize windowCardSize(460, 250);
constexpr QSize pageCardSize(620, 300);

QLabel *cardText(QWidget *parent, int points, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QPushButton *cardButton(QWidget *parent)
{
    auto *button = new QPushButton(parent);
    // Return on the focused button presses it, as in a dialog.
    button->setAutoDefault(true);
    return button;
}

void setGrey(QLabel &label)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, QColor(90, 90, 90));
    label.setPalette(palette);
}

} // namespace

void QLXPopupQuizController::buildWindow()
{
    m_window = std::make_unique<QLXBookmarkView>(m_services.theme);
    m_window->setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowCloseButtonHint);
    m_window->setWindowTitle(u"Lexicarta"_s);
    m_window->installEventFilter(this);

    m_windowCard = new QLXCardView(m_window.get());
    m_windowCard->setFixedSize(windowCardSize);
    m_windowPages = new QStackedWidget(m_windowCard);
    auto *cardLayout = new QVBoxLayout(m_windowCard);
    cardLayout->setContentsMargins(20, 16, 20, 14);
    cardLayout->addWidget(m_windowPages);
    auto *windowLayout = new QVBoxLayout(m_window.get());
    windowLayout->setContentsMargins(10, 10, 10, 10);
    windowLayout->addWidget(m_windowCard);
    windowLayout->setSizeConstraint(QLayout::SetFixedSize);

    // Page 0: the question.
    auto *questionPage = new QWidget;
    m_questionField = cardText(questionPage, 18, true);
    m_questionComment = cardText(questionPage, 12);
    setGrey(*m_questionComment);
    m_answerField = new QLXLanguageTextField(questionPage);
    m_answerField->setLanguageDelegate(this);
    m_answerField->setMinimumHeight(32);
    QFont answerFont = m_answerField->font();
    answerFont.setPointSize(15);
    m_answerField->setFont(answerFont);
    m_questionEndButton = cardButton(questionPage);
    m_checkButton = cardButton(questionPage);
    auto *questionButtons = new QHBoxLayout;
    questionButtons->addWidget(m_questionEndButton);
    questionButtons->addStretch();
    questionButtons->addWidget(m_checkButton);
    auto *questionLayout = new QVBoxLayout(questionPage);
    questionLayout->setContentsMargins(0, 0, 0, 0);
    questionLayout->addWidget(m_questionField);
    questionLayout->addWidget(m_questionComment);
    questionLayout->addStretch();
    questionLayout->addWidget(m_answerField);
    questionLayout->addSpacing(6);
    questionLayout->addLayout(questionButtons);

    // Page 1: the verdict on the answer.
    auto *answerPage = new QWidget;
    m_askedLabel = cardText(answerPage, 16, true);
    m_answerMark = cardText(answerPage, 18);
    m_answerMark->setFixedWidth(22);
    m_answerLabel = cardText(answerPage, 16);
    m_expectedMark = new QLabel(answerPage);
    m_expectedMark->setFixedWidth(22);
    lexi::showQuizImage(*m_expectedMark, u"checkmark_32"_s, QSize(20, 20));
    m_expectedLabel = cardText(answerPage, 16);
    m_commentLabel = cardText(answerPage, 12);
    setGrey(*m_commentLabel);
    m_upperLevelIcon = new QLabel(answerPage);
    m_arrow = new QLabel(answerPage);
    m_lowerLevelIcon = new QLabel(answerPage);
    m_dontAskAgainBox = new QCheckBox(answerPage);
    m_iKnewItBox = new QCheckBox(answerPage);
    m_editButton = cardButton(answerPage);
    m_deletedMark = new QLabel(answerPage);
    QPalette deleted = m_deletedMark->palette();
    deleted.setColor(QPalette::WindowText, QColor(173, 51, 73));
    m_deletedMark->setPalette(deleted);
    m_answerEndButton = cardButton(answerPage);
    m_nextButton = cardButton(answerPage);

    auto *answers = new QGridLayout;
    answers->setHorizontalSpacing(6);
    answers->addWidget(m_answerMark, 0, 0, Qt::AlignTop);
    answers->addWidget(m_answerLabel, 0, 1);
    answers->addWidget(m_expectedMark, 1, 0, Qt::AlignTop);
    answers->addWidget(m_expectedLabel, 1, 1);
    answers->setColumnStretch(1, 1);
    auto *texts = new QVBoxLayout;
    texts->addWidget(m_askedLabel);
    texts->addLayout(answers);
    texts->addWidget(m_commentLabel);
    texts->addStretch();
    auto *levels = new QVBoxLayout;
    levels->setSpacing(2);
    levels->addWidget(m_upperLevelIcon, 0, Qt::AlignHCenter);
    levels->addWidget(m_arrow, 0, Qt::AlignHCenter);
    levels->addWidget(m_lowerLevelIcon, 0, Qt::AlignHCenter);
    levels->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(texts, 1);
    top->addLayout(levels);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(m_dontAskAgainBox);
    boxes->addWidget(m_iKnewItBox);
    boxes->addStretch();
    auto *answerButtons = new QHBoxLayout;
    answerButtons->addWidget(m_editButton);
    answerButtons->addWidget(m_deletedMark);
    answerButtons->addStretch();
    answerButtons->addWidget(m_answerEndButton);
    answerButtons->addWidget(m_nextButton);
    auto *answerLayout = new QVBoxLayout(answerPage);
    answerLayout->setContentsMargins(0, 0, 0, 0);
    answerLayout->addLayout(top, 1);
    answerLayout->addLayout(boxes);
    answerLayout->addLayout(answerButtons);

    // Page 2: the results.
    auto *resultPage = new QWidget;
    m_resultsView = new lexi::QuizResultsView(lexi::QuizResultsView::Look::popupWindow(), resultPage);
    m_closeButton = cardButton(resultPage);
    auto *resultButtons = new QHBoxLayout;
    resultButtons->addStretch();
    resultButtons->addWidget(m_closeButton);
    auto *resultLayout = new QVBoxLayout(resultPage);
    resultLayout->setContentsMargins(0, 0, 0, 0);
    resultLayout->addWidget(m_resultsView, 1);
    resultLayout->addLayout(resultButtons);

    m_windowPages->insertWidget(QuestionPage, questionPage);
    m_windowPages->insertWidget(AnswerPage, answerPage);
    m_windowPages->insertWidget(ResultPage, resultPage);

    connect(m_checkButton, &QPushButton::clicked, this, &QLXPopupQuizController::checkWord);
    connect(m_answerField, &QLineEdit::returnPressed, this, &QLXPopupQuizController::checkWord);
    connect(m_iKnewItBox, &QCheckBox::clicked, this, &QLXPopupQuizController::iKnewIt);
    connect(m_editButton, &QPushButton::clicked, this, &QLXPopupQuizController::editLastWord);
    connect(m_nextButton, &QPushButton::clicked, this, &QLXPopupQuizController::next);
    for (QPushButton *end : {m_questionEndButton, m_answerEndButton})
        connect(end, &QPushButton::clicked, this, &QLXPopupQuizController::stopQuiz);
    connect(m_closeButton, &QPushButton::clicked, this, &QLXPopupQuizController::close);
}

void QLXPopupQuizController::buildPage()
{
    m_page = new QLXBookmarkView(m_services.theme);
    m_pageCard = new QLXCardView;
    m_pageCard->setFixedSize(pageCardSize);
    m_titleLabel = cardText(m_pageCard, 18, true);
    m_pageIntro = cardText(m_pageCard, 13);
    m_intervalLabel = cardText(m_pageCard, 13);
    m_intervalLabel->setWordWrap(false);
    m_intervalField = new QSpinBox(m_pageCard);
    m_intervalField->setRange(int(lexi::PopupQuizRun::minimumInterval), int(lexi::PopupQuizRun::maximumInterval));
    m_intervalField->setValue(int(m_run.questionIntervalMinutes()));
    // Typing "15" changes the interval once, not first to 1.
    m_intervalField->setKeyboardTracking(false);
    m_minutesLabel = cardText(m_pageCard, 13);
    m_minutesLabel->setWordWrap(false);
    m_stopButton = cardButton(m_pageCard);
    m_stopButton->setEnabled(false);

    auto *interval = new QHBoxLayout;
    interval->addWidget(m_intervalLabel);
    interval->addWidget(m_intervalField);
    interval->addWidget(m_minutesLabel);
    interval->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_stopButton);
    auto *cardLayout = new QVBoxLayout(m_pageCard);
    cardLayout->setContentsMargins(32, 28, 28, 22);
    cardLayout->setSpacing(14);
    cardLayout->addWidget(m_titleLabel);
    cardLayout->addWidget(m_pageIntro);
    cardLayout->addLayout(interval);
    cardLayout->addStretch();
    cardLayout->addLayout(buttons);

    lexi::placeInTheMiddle(*m_page, *m_pageCard);

    connect(m_intervalField, &QSpinBox::valueChanged, this, &QLXPopupQuizController::updateInterval);
    connect(m_stopButton, &QPushButton::clicked, this, &QLXPopupQuizController::stopQuiz);
}

void QLXPopupQuizController::localize()
{
    m_titleLabel->setText(quizText(u"popupInProgress"_s));
    m_pageIntro->setText(quizText(u"popupIntro"_s));
    m_intervalLabel->setText(quizText(u"popupIntervalLabel"_s));
    m_minutesLabel->setText(quizText(u"popupMinutes"_s));
    for (QPushButton *end : {m_questionEndButton, m_answerEndButton, m_stopButton})
        end->setText(quizText(u"popupEndQuiz"_s));
    m_nextButton->setText(quizText(u"popupNext"_s));
    m_checkButton->setText(quizText(u"popupCheck"_s));
    m_closeButton->setText(quizText(u"popupClose"_s));
    m_resultsView->localize(quizText(u"misspelled"_s));
    m_dontAskAgainBox->setText(quizText(u"dontAskAgain"_s));
    m_iKnewItBox->setText(quizText(u"iKnewIt"_s));
    m_editButton->setText(quizText(u"edit"_s));
    m_deletedMark->setText(quizText(u"wordDeleted"_s));
}
