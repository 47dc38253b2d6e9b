#include "QLXTypingQuizController.h"

#include "QLXBookmarkView.h"
#include "QLXCardView.h"
#include "QLXPieChart.h"
#include "QLXProgressBar.h"
#include "QuizImages.h"
#include "QuizResults.h"

#include "platform/files/Settings.h"
#include "platform/values/Format.h"
#include "platform/files/StringTables.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using lexi::showQuizImage;

namespace {

const QString quizTable = u"Quiz"_s;
constexpr QLatin1StringView hasShownQuizHelpQuestion = lexi::Settings::hasShownQuizHelpQuestionKey;
constexpr QLatin1StringView hasShownQuizHelpCorrectAnswer = lexi::Settings::hasShownQuizHelpCorrectAnswerKey;
constexpr QLatin1StringView hasShownQuizHelpMisspelledAnswer = lexi::Settings::hasShownQuizHelpMisspelledAnswerKey;
constexpr QLatin1StringView hasShownQuizHelpWrongAnswer = lexi::Settings::hasShownQuizHelpWrongAnswerKey;

constexpr QSize cardSize(720, 380);
constexpr QSize levelIconSize(28, 28);
constexpr QSize indicatorSize(22, 22);

QString quizText(const QString &key)
{
    return lexi::StringTables::text(key, quizTable);
}

void setHelveticaSize(QWidget &widget, int points)
{
    QFont font(u"Helvetica"_s);
    font.setPointSize(points);
    widget.setFont(font);
}

// Hidden exactly when not enabled.
void setControl(QWidget &control, bool enableAndShow)
{
    control.setEnabled(enableAndShow);
    control.setVisible(enableAndShow);
}

QLabel *cardText(QWidget *parent, int points)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
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

void setTextColor(QLabel &label, const QColor &color)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

} // namespace

QLXTypingQuizController::QLXTypingQuizController(const lexi::QuizServices &services, lexi::QuizPages &pages,
                                                 QObject *parent)
    : QObject(parent), QLXQuizInterface(services.defaults), m_services(services), m_pages(pages),
      m_flip(pages, services.scheduler, services.clock)
{
    const lexi::Settings settings(services.defaults);
    setAskForYourWord(settings.askForYourWord());
    setAskForForeignWord(settings.askForForeignWord() || !askForYourWord());
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

QLXTypingQuizController::~QLXTypingQuizController()
{
    m_pendingStep.cancel();
    m_focusStep.cancel();
}

void QLXTypingQuizController::buildQuestionPage()
{
    m_questionPage = new QLXBookmarkView(m_services.theme);
    m_card = new QLXCardView;
    m_card->setFixedSize(cardSize);

    // The verdict side, on the left half of the card.
    auto *verdictSide = new QWidget(m_card);
    m_previousQuestionField = cardText(verdictSide, 18);
    m_typedAnswerField = cardText(verdictSide, 18);
    m_typedAnswerIndicator = new QLabel(verdictSide);
    m_expectedAnswerField = cardText(verdictSide, 18);
    m_expectedAnswerIndicator = new QLabel(verdictSide);
    m_commentField = cardText(verdictSide, 12);
    setTextColor(*m_commentField, QColor(90, 90, 90));
    m_upperLevelIcon = new QLabel(verdictSide);
    m_arrow = new QLabel(verdictSide);
    m_lowerLevelIcon = new QLabel(verdictSide);
    m_dontAskAgainBox = new QCheckBox(verdictSide);
    m_iKnewItBox = new QCheckBox(verdictSide);
    m_editButton = new QPushButton(verdictSide);
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
    m_questionLevelIcon = new QLabel(questionSide);
    m_questionField = cardText(questionSide, 18);
    m_questionComment = cardText(questionSide, 12);
    setTextColor(*m_questionComment, QColor(90, 90, 90));
    m_answerField = new QLineEdit(questionSide);
    setHelveticaSize(*m_answerField, 16);
    m_answerField->setMinimumHeight(34);
    m_answerField->installEventFilter(this);
    m_nextButton = new QPushButton(questionSide);
    m_nextButton->setDefault(true);
    m_resultsButton = new QPushButton(questionSide);

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
    cardLayout->addWidget(verdictSide, 1);
    cardLayout->addWidget(questionSide, 1);

    m_statusText = new QLabel;
    setTextColor(*m_statusText, QColor(255, 255, 255, 200));
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

    auto *centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(column);
    centred->addStretch();
    auto *pageLayout = new QVBoxLayout(m_questionPage);
    pageLayout->addStretch();
    pageLayout->addLayout(centred);
    pageLayout->addStretch();

    connect(m_nextButton, &QPushButton::clicked, this, &QLXTypingQuizController::next);
    connect(m_answerField, &QLineEdit::returnPressed, this, &QLXTypingQuizController::next);
    connect(m_resultsButton, &QPushButton::clicked, this, &QLXTypingQuizController::showStatistics);
    connect(m_iKnewItBox, &QCheckBox::clicked, this, &QLXTypingQuizController::iKnewIt);
    connect(m_editButton, &QPushButton::clicked, this, &QLXTypingQuizController::editLastWord);
}

void QLXTypingQuizController::buildResultsPage()
{
    m_resultsPage = new QLXBookmarkView(m_services.theme);
    m_resultsCard = new QLXCardView;
    m_resultsCard->setFixedSize(cardSize);

    m_introText = cardText(m_resultsCard, 18);
    m_introText->setAlignment(Qt::AlignCenter);
    m_pieChart = new QLXPieChart(m_resultsCard);
    m_pieChart->setFixedSize(140, 140);

    auto *legend = new QGridLayout;
    legend->setHorizontalSpacing(12);
    legend->setVerticalSpacing(10);
    const auto addRow = [&](int row, QLabel *&label, QLabel *&count, const QColor &color) {
        auto *swatch = new QLabel(m_resultsCard);
        swatch->setFixedSize(14, 14);
        swatch->setStyleSheet(u"background: %1; border-radius: 3px;"_s.arg(color.name()));
        label = cardText(m_resultsCard, 15);
        count = cardText(m_resultsCard, 15);
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        legend->addWidget(swatch, row, 0);
        legend->addWidget(label, row, 1);
        legend->addWidget(count, row, 2);
    };
    addRow(0, m_correctLabel, m_correctCount, m_pieChart->correctColor());
    addRow(1, m_misspelledLabel, m_misspelledCount, m_pieChart->misspelledColor());
    addRow(2, m_wrongLabel, m_wrongCount, m_pieChart->wrongColor());

    auto *chartRow = new QHBoxLayout;
    chartRow->addStretch();
    chartRow->addWidget(m_pieChart);
    chartRow->addSpacing(40);
    chartRow->addLayout(legend);
    chartRow->addStretch();

    m_newQuizButton = new QPushButton(m_resultsCard);
    m_restartButton = new QPushButton(m_resultsCard);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restartButton);
    buttons->addWidget(m_newQuizButton);

    auto *cardLayout = new QVBoxLayout(m_resultsCard);
    cardLayout->setContentsMargins(30, 26, 26, 20);
    cardLayout->addWidget(m_introText);
    cardLayout->addStretch();
    cardLayout->addLayout(chartRow);
    cardLayout->addStretch();
    cardLayout->addLayout(buttons);

    auto *centred = new QHBoxLayout;
    centred->addStretch();
    centred->addWidget(m_resultsCard);
    centred->addStretch();
    auto *pageLayout = new QVBoxLayout(m_resultsPage);
    pageLayout->addStretch();
    pageLayout->addLayout(centred);
    pageLayout->addStretch();

    connect(m_newQuizButton, &QPushButton::clicked, this, &QLXTypingQuizController::newQuizRequested);
    connect(m_restartButton, &QPushButton::clicked, this, &QLXTypingQuizController::restartQuizWithWrong);
}

void QLXTypingQuizController::localize()
{
    m_restartButton->setText(quizText(u"restartWithWrong"_s));
    m_newQuizButton->setText(quizText(u"newQuiz"_s));
    m_correctLabel->setText(quizText(u"correct"_s));
    m_misspelledLabel->setText(quizText(u"misspelled"_s));
    m_wrongLabel->setText(quizText(u"wrong"_s));
    m_dontAskAgainBox->setText(quizText(u"dontAskAgain"_s));
    m_iKnewItBox->setText(quizText(u"iKnewIt"_s));
    m_resultsButton->setText(quizText(u"showResults"_s));
    m_nextButton->setText(quizText(u"flipCard"_s));
    m_questionHelp->setText(quizText(u"cardRightHelpText"_s));
    m_editButton->setText(quizText(u"edit"_s));
    m_deletedMark->setText(quizText(u"wordDeleted"_s));
}

void QLXTypingQuizController::startQuiz()
{
    m_pendingStep.cancel();
    m_numberOfCorrect = m_numberOfWrong = m_numberOfMisspelled = 0;
    m_wrongAnsweredWords.clear();
    m_card->setIsSplit(true);
    m_card->setColorNeutral();
    m_isRunInProgress = true;
    showFirstQuestion();
    m_focusStep.cancel();
    m_focusStep = m_services.scheduler.after(focusDelay, [this] { focusAnswerField(); });
}

// What a start and a restart share: the first question on a card without a verdict.
void QLXTypingQuizController::showFirstQuestion()
{
    m_nextWord = nextWordToAsk();
    m_lastWord = m_nextWord;
    if (m_nextWord)
        setQuestion();

    for (QLabel *field : {m_expectedAnswerField, m_previousQuestionField, m_typedAnswerField, m_commentField})
        field->clear();
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
    const bool hasQuestion = m_nextWord != nullptr;
    m_questionLevelIcon->setVisible(hasQuestion);
    setControl(*m_answerField, hasQuestion);
    setControl(*m_questionField, hasQuestion);
    setControl(*m_nextButton, hasQuestion);
    setControl(*m_resultsButton, !hasQuestion);
    for (QCheckBox *box : {m_dontAskAgainBox, m_iKnewItBox}) {
        setControl(*box, false);
        box->setChecked(false);
    }
    m_questionHelp->hide();
    m_verdictHelp->hide();
    if (!lexi::Settings(m_services.defaults).hasShownQuizHelp(hasShownQuizHelpQuestion)) {
        lexi::Settings(m_services.defaults).setHasShownQuizHelp(hasShownQuizHelpQuestion, true);
        m_questionHelp->show();
    }
}

void QLXTypingQuizController::setQuestion()
{
    if (askForForeignWord() && askForYourWord())
        m_lastAskedForeign = random().randomIntBetween(0, 1) == 0;
    else
        m_lastAskedForeign = !askForYourWord() || askForForeignWord();

    const QString question = m_lastAskedForeign ? m_nextWord->yourWord() : m_nextWord->foreignWord();
    m_questionField->setText(question);
    selectInputSourceForAnswer();
    setHelveticaSize(*m_questionField, question.size() >= 86 ? 14 : 18);

    m_answerField->clear();
    m_questionComment->setText(m_nextWord->comment());
    m_questionComment->setVisible(isShowCommentWithQuestion() && !m_nextWord->comment().isEmpty());
    showQuizImage(*m_questionLevelIcon, lexi::levelImageName(m_nextWord->level()), levelIconSize);
}

void QLXTypingQuizController::selectInputSourceForAnswer()
{
    const std::shared_ptr<Lexicarta> &words = vocabulary();
    if (!words || !words->isAutoSelectInputSource())
        return;
    const std::optional<lexi::InputSource> &source =
        m_lastAskedForeign ? words->foreignTextInputSource() : words->yourTextInputSource();
    if (!source)
        return;
    // A source stored by another machine may not exist here: it is not selected.
    lexi::InputSources &sources = words->services().inputSources;
    const std::optional<QList<lexi::InputSource>> available = sources.inputSourceList(false);
    if (!available)
        return;
    const bool exists = std::any_of(available->cbegin(), available->cend(), [&](const lexi::InputSource &candidate) {
        return candidate.identifier == source->identifier && candidate.isSelectCapable;
    });
    if (exists)
        sources.selectInputSource(source->identifier);
}

void QLXTypingQuizController::scheduleStep(std::function<void()> step)
{
    if (m_pendingStep.isPending())
        return;
    m_pendingStep = m_services.scheduler.after(stepDelay, std::move(step));
}

void QLXTypingQuizController::next()
{
    if (!m_nextWord || !m_isRunInProgress)
        return;
    // The step answers the question on the card now, and no other.
    scheduleStep([this, asked = m_nextWord] {
        if (m_nextWord == asked)
            executeNext();
    });
}

void QLXTypingQuizController::showStatistics()
{
    if (m_nextWord || !m_isRunInProgress)
        return;
    scheduleStep([this] {
        if (!m_nextWord && m_isRunInProgress)
            executeShowStatistics();
    });
}

void QLXTypingQuizController::restartQuizWithWrong()
{
    if (m_isRunInProgress || m_wrongAnsweredWords.isEmpty())
        return;
    scheduleStep([this] {
        if (!m_isRunInProgress && !m_wrongAnsweredWords.isEmpty())
            executeRestartQuizWithWrong();
    });
}

void QLXTypingQuizController::settleBoxes()
{
    if (!m_lastWord)
        return;
    if (m_dontAskAgainBox->isChecked()) {
        m_lastWord->setDontAskAgain(true);
        m_dontAskAgainBox->setChecked(false);
    }
    if (m_iKnewItBox->isChecked()) {
        m_iKnewItBox->setChecked(false);
        if (m_lastWrongWasJustMisspelled) {
            --m_numberOfMisspelled;
        } else {
            m_lastWord->setLevel(m_lastWordOriginLevel);
            --m_numberOfWrong;
        }
        vocabulary()->answeredWord(*m_lastWord, 1);
        ++m_numberOfCorrect;
        m_wrongAnsweredWords.removeAll(m_lastWord);
    }
}

void QLXTypingQuizController::executeNext()
{
    if (lexi::Settings(m_services.defaults).hasShownQuizHelp(hasShownQuizHelpQuestion))
        m_questionHelp->hide();
    m_flip.flipFirstHalf(*m_card);
    settleBoxes();

    m_lastWord = m_nextWord;
    m_commentField->setText(m_lastWord->comment());
    m_lastAnswer = m_answerField->text();

    qint64 distance = lexi::answerDistance(lexi::expectedSide(*m_lastWord, m_lastAskedForeign), m_lastAnswer);
    bool isSynonym = false;
    if (distance != 0 && !lexi::isBlankAnswer(m_lastAnswer)) {
        const std::shared_ptr<QLXWord> synonym =
            lexi::acceptedSynonym(vocabulary()->synonymsForWord(*m_lastWord), m_lastAnswer, m_lastAskedForeign,
                                  wordsToAsk(), askIndex());
        if (synonym) {
            // The synonym takes the place of the word asked, which is asked again next.
            m_lastWord = synonym;
            const qsizetype position = wordsToAsk().indexOf(synonym);
            if (position >= 0)
                wordsToAsk().removeAt(position);
            else
                --m_numberOfCorrect;
            wordsToAsk().insert(askIndex(), synonym);
            distance = 0;
            isSynonym = true;
        }
    }

    m_lastWordOriginLevel = m_lastWord->level();
    setControl(*m_dontAskAgainBox, false);
    setControl(*m_iKnewItBox, true);
    m_lastWrongWasJustMisspelled = false;
    m_lowerLevelIcon->show();
    showVerdict(lexi::verdictForDistance(distance, vocabulary()->isDisableMisspellRecognition()), isSynonym);

    const QString &expected = lexi::expectedSide(*m_lastWord, m_lastAskedForeign);
    const QString &previousQuestion = m_lastAskedForeign ? m_lastWord->yourWord() : m_lastWord->foreignWord();
    m_typedAnswerField->setText(m_lastAnswer);
    m_expectedAnswerField->setVisible(distance != 0);
    m_expectedAnswerIndicator->setVisible(distance != 0);
    m_expectedAnswerField->setText(expected);
    m_previousQuestionField->setText(previousQuestion);
    setHelveticaSize(*m_previousQuestionField, previousQuestion.size() >= 81 ? 14 : 18);
    setHelveticaSize(*m_typedAnswerField, m_lastAnswer.size() >= 71 ? 14 : 18);
    setHelveticaSize(*m_expectedAnswerField, expected.size() >= 71 ? 14 : 18);
    setControl(*m_editButton, true);
    m_deletedMark->hide();

    m_nextWord = nextWordToAsk();
    if (!m_nextWord) {
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
    recordSaveAndMark();
    m_flip.flipSecondHalf(*m_card);
    m_card->update();
}

void QLXTypingQuizController::showVerdict(lexi::AnswerVerdict verdict, bool isSynonym)
{
    const quint64 origin = m_lastWordOriginLevel;
    switch (verdict) {
    case lexi::AnswerVerdict::Correct:
        setTextColor(*m_typedAnswerField, Qt::black);
        isSynonym ? m_card->setColorSynonym() : m_card->setColorCorrect();
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(origin), levelIconSize);
        showQuizImage(*m_typedAnswerIndicator, u"checkmark_32"_s, indicatorSize);
        m_typedAnswerIndicator->show();
        m_typedAnswerField->show();
        vocabulary()->answeredWord(*m_lastWord, 1);
        ++m_numberOfCorrect;
        showQuizImage(*m_upperLevelIcon, lexi::levelImageName(m_lastWord->level()), levelIconSize);
        showQuizImage(*m_arrow, u"arrow_up"_s, QSize(20, 32));
        m_upperLevelIcon->setVisible(origin != QLXWord::nativeLevel);
        m_arrow->setVisible(origin != QLXWord::nativeLevel);
        setControl(*m_dontAskAgainBox, origin == QLXWord::nativeLevel);
        setControl(*m_iKnewItBox, false);
        showHelp(*m_verdictHelp, u"quizCorrectAnswerHelpText"_s, hasShownQuizHelpCorrectAnswer);
        break;
    case lexi::AnswerVerdict::Misspelled:
        m_card->setColorMisspelled();
        setTextColor(*m_typedAnswerField, QColor(0, 0, 0, 128));
        showQuizImage(*m_typedAnswerIndicator, u"misspelled_32"_s, indicatorSize);
        m_typedAnswerIndicator->show();
        m_typedAnswerField->show();
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(m_lastWord->level()), levelIconSize);
        m_upperLevelIcon->hide();
        m_arrow->hide();
        vocabulary()->answeredWord(*m_lastWord, 0);
        ++m_numberOfMisspelled;
        m_lastWrongWasJustMisspelled = true;
        m_wrongAnsweredWords.append(m_lastWord);
        showHelp(*m_verdictHelp, u"quizMisspelledAnswerHelpText"_s, hasShownQuizHelpMisspelledAnswer);
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
        vocabulary()->answeredWord(*m_lastWord, -1);
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(m_lastWord->level()), levelIconSize);
        ++m_numberOfWrong;
        m_wrongAnsweredWords.append(m_lastWord);
        if (origin != 0)
            showHelp(*m_verdictHelp, u"quizWrongHelpText"_s, hasShownQuizHelpWrongAnswer);
        else
            m_verdictHelp->hide();
        break;
    }
    }
}

void QLXTypingQuizController::showHelp(QLabel &bubble, const QString &key, QLatin1StringView shownFlag)
{
    bubble.setText(quizText(key));
    lexi::Settings settings(m_services.defaults);
    const bool show = !settings.hasShownQuizHelp(shownFlag);
    bubble.setVisible(show);
    if (show)
        settings.setHasShownQuizHelp(shownFlag, true);
}

void QLXTypingQuizController::showProgress()
{
    const qint64 running = m_numberOfCorrect + m_numberOfWrong + m_numberOfMisspelled + 1;
    m_statusText->setText(lexi::format(quizText(u"progressStatus"_s), running, numberOfWordsToAsk()));
    m_progressBar->setTotal(quint64(std::max<qint64>(numberOfWordsToAsk(), 0)));
    m_progressBar->setProgress(quint64(std::max<qint64>(running, 0)));
}

void QLXTypingQuizController::recordSaveAndMark()
{
    const std::shared_ptr<Lexicarta> &words = vocabulary();
    words->setNeedsSync(true);
    m_services.keeper.markFileAsNeedsSync(*words);
    m_services.keeper.saveVocabulary(words);
}

void QLXTypingQuizController::executeShowStatistics()
{
    m_flip.flipFirstHalf(*m_card);
    m_card->setIsSplit(false);
    settleBoxes();
    m_isRunInProgress = false;

    recordSaveAndMark();
    m_services.keeper.syncWithDropbox();
    m_pages.showPage(lexi::QuizPages::TypingResults);

    const lexi::QuizResults results{m_numberOfCorrect, m_numberOfMisspelled, m_numberOfWrong, numberOfWordsToAsk()};
    m_introText->setText(lexi::format(quizText(results.introKey()), results.correctPercent()));
    m_pieChart->setEmpty(results.total <= 0);
    m_pieChart->setCorrectPercent(results.correctPercent() / 100);
    m_pieChart->setMisspelledPercent(results.misspelledPercent() / 100);
    const QString countFormat = u"%ld / %ld"_s;
    m_correctCount->setText(lexi::format(countFormat, results.correct, results.total));
    m_wrongCount->setText(lexi::format(countFormat, results.wrong, results.total));
    m_misspelledCount->setText(lexi::format(countFormat, results.misspelled, results.total));
    setControl(*m_restartButton, m_numberOfWrong > 0 && !m_wrongAnsweredWords.isEmpty());
    m_newQuizButton->setFocus();

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
    m_numberOfCorrect = m_numberOfWrong = m_numberOfMisspelled = 0;
    setAskIndex(-1);
    wordsToAsk() = m_wrongAnsweredWords;
    setNumberOfWordsToAsk(wordsToAsk().size());
    m_wrongAnsweredWords.clear();
    m_isRunInProgress = true;
    showFirstQuestion();
    m_pages.showPage(lexi::QuizPages::TypingQuiz);
    focusAnswerField();
    m_flip.flipSecondHalf(*m_card);
}

void QLXTypingQuizController::iKnewIt()
{
    const quint64 origin = m_lastWordOriginLevel;
    if (m_iKnewItBox->isChecked()) {
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(origin), levelIconSize);
        showQuizImage(*m_upperLevelIcon, lexi::levelImageName(std::min<quint64>(origin + 1, QLXWord::nativeLevel)),
                      levelIconSize);
        showQuizImage(*m_arrow, u"arrow_up"_s, QSize(20, 32));
        m_upperLevelIcon->show();
        m_arrow->setVisible(origin != QLXWord::nativeLevel);
        m_card->setColorCorrect();
        m_verdictHelp->setText(quizText(u"quizCorrectAnswerHelpText"_s));
    } else {
        const quint64 present = m_lastWord ? m_lastWord->level() : origin;
        showQuizImage(*m_upperLevelIcon, lexi::levelImageName(origin), levelIconSize);
        showQuizImage(*m_lowerLevelIcon, lexi::levelImageName(present), levelIconSize);
        showQuizImage(*m_arrow, u"arrow_down"_s, QSize(20, 32));
        m_arrow->setVisible(origin != present);
        m_upperLevelIcon->setVisible(origin != present);
        if (m_lastWrongWasJustMisspelled) {
            m_card->setColorMisspelled();
            m_verdictHelp->setText(quizText(u"quizMisspelledHelpText"_s));
        } else {
            m_card->setColorWrong();
            m_verdictHelp->setText(quizText(u"quizWrongHelpText"_s));
        }
    }
}

void QLXTypingQuizController::editLastWord()
{
    if (m_lastWord)
        emit editWordRequested(m_lastWord, m_editButton);
}

void QLXTypingQuizController::wordPopoverDidEditWords(const lexi::WordList &)
{
    emit wordPopoverShouldClose();
    if (!m_lastWord)
        return;
    m_expectedAnswerField->setText(lexi::expectedSide(*m_lastWord, m_lastAskedForeign));
    m_previousQuestionField->setText(m_lastAskedForeign ? m_lastWord->yourWord() : m_lastWord->foreignWord());
    m_commentField->setText(m_lastWord->comment());
    m_services.keeper.markFileAsNeedsSync(*vocabulary());
    m_services.keeper.syncWithDropbox();
}

void QLXTypingQuizController::wordPopoverDidDeleteWords(const lexi::WordList &words)
{
    emit wordPopoverShouldClose();
    // The words are gone: they are not asked again, and the boxes of the verdict shown have
    // nothing left to settle.
    for (const std::shared_ptr<QLXWord> &deleted : words) {
        m_wrongAnsweredWords.removeAll(deleted);
        for (qsizetype position = wordsToAsk().size() - 1; position > askIndex(); --position) {
            if (wordsToAsk()[position] == deleted)
                wordsToAsk().removeAt(position);
        }
    }
    m_deletedMark->show();
    setControl(*m_editButton, false);
    for (QCheckBox *box : {m_dontAskAgainBox, m_iKnewItBox}) {
        box->setChecked(false);
        box->setEnabled(false);
    }
    if (const std::shared_ptr<Lexicarta> &words = vocabulary()) {
        m_services.keeper.markFileAsNeedsSync(*words);
        m_services.keeper.syncWithDropbox();
    }
}

void QLXTypingQuizController::wordPopoverDidCancelEditWords(const lexi::WordList &)
{
    emit wordPopoverShouldClose();
}

void QLXTypingQuizController::abandonRun()
{
    m_pendingStep.cancel();
    m_focusStep.cancel();
    m_isRunInProgress = false;
}

void QLXTypingQuizController::resetQuizHelp()
{
    lexi::Settings settings(m_services.defaults);
    for (const QLatin1StringView flag : {hasShownQuizHelpQuestion, hasShownQuizHelpCorrectAnswer,
                                         hasShownQuizHelpMisspelledAnswer, hasShownQuizHelpWrongAnswer})
        settings.setHasShownQuizHelp(flag, false);
}

void QLXTypingQuizController::focusAnswerField()
{
    if (m_answerField->isEnabled())
        m_answerField->setFocus();
}

bool QLXTypingQuizController::eventFilter(QObject *watched, QEvent *event)
{
    // Return held down repeats its key; only the first press answers.
    if (watched == m_answerField && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
