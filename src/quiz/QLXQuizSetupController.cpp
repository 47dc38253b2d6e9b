// The quiz set-up form: the levels, the number of words, the tags, its checks and the start of a run.
#include "QLXQuizSetupController.h"

#include "QLXQuizInterface.h"
#include "QuizMode.h"
#include "QuizImages.h"
#include "QuizTexts.h"
#include "TypingQuizLook.h"

#include "model/VocabularyKeeper.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "platform/ports/Console.h"
#include "views/PageLayout.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"
#include "views/QLXProgressBar.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using lexi::quizText;
// The set-up card turns into the typing quiz's card: one size for both.
using lexi::typingQuiz::cardSize;

namespace {

const QString mainWindowTable = u"MainWindow"_s;

constexpr qint64 defaultNumberOfWords = 30;
QString mainWindowText(const QString &key)
{
    return lexi::StringTables::text(key, mainWindowTable);
}

void setOpacity(QWidget &widget, qreal opacity)
{
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(widget.graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(&widget);
        widget.setGraphicsEffect(effect);
    }
    effect->setOpacity(opacity);
}

// The card shows tags and the information message's texts from the server: as they are, never
// read as markup.
QLabel *cardLabel(QWidget *parent, int points = 12, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

QLXQuizSetupController::QLXQuizSetupController(const lexi::QuizServices &services, lexi::QuizPages &pages,
                                               const Links &links, QObject *parent)
    : QObject(parent), m_services(services), m_pages(pages), m_links(links),
      m_flip(pages, services.scheduler, services.clock)
{
    buildPage();
    localize();
    m_card->setIsSplit(false);
    m_infoPanel->hide();
    pages.setPage(lexi::QuizPages::Setup, m_page);
    pages.installEventFilter(this);
    m_card->installEventFilter(this);
    for (lexi::QuizMode *mode : m_links.modes) {
        if (!mode)
            continue;
        connect(mode, &lexi::QuizMode::runEnded, this, &QLXQuizSetupController::quizRunEnded);
        connect(mode, &lexi::QuizMode::newQuizRequested, this, [this] {
            m_startedSinceTabShown = false;
            showQuiz();
        });
    }
    // Another language (or the same one read anew) is open: a run of the old one ends, its answers
    // all saved, and the page counts the words of the new one.
    connect(&m_services.keeper, &lexi::VocabularyKeeper::vocabularyReplaced, this, [this] {
        m_startedSinceTabShown = false;
        m_preSelectedWords.reset();
        showQuiz();
    });
}

void QLXQuizSetupController::buildPage()
{
    m_page = new QLXBookmarkView(m_services.theme);
    m_card = new QLXCardView;
    m_card->setFixedSize(cardSize);
    m_progressBar = new QLXProgressBar;
    m_progressBar->hide();

    m_titleLabel = cardLabel(m_card, 18, true);
    m_askInLabel = cardLabel(m_card);
    m_fromLevelsLabel = cardLabel(m_card);
    m_numberLabel = cardLabel(m_card);
    m_tagsLabel = cardLabel(m_card);

    m_directionPopup = new QComboBox(m_card);
    m_directionPopup->setMinimumWidth(200);

    auto *levels = new QGridLayout;
    levels->setHorizontalSpacing(14);
    levels->setVerticalSpacing(2);
    for (int level = 0; level < 6; ++level) {
        auto *button = new QToolButton(m_card);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(QIcon(lexi::quizImage(lexi::levelImageName(quint64(level)), QSize(36, 36))));
        button->setIconSize(QSize(36, 36));
        auto *count = cardLabel(m_card, 12);
        count->setAlignment(Qt::AlignCenter);
        count->setMinimumWidth(44);
        levels->addWidget(button, 0, level, Qt::AlignCenter);
        levels->addWidget(count, 1, level, Qt::AlignCenter);
        m_levelButtons[level] = button;
        m_countLabels[level] = count;
        connect(button, &QToolButton::toggled, this, [this, level](bool on) {
            setButtonActive(level, on);
            quizListsToAskChanged();
        });
    }

    m_numberField = new QSpinBox(m_card);
    m_numberField->setRange(0, 100000);
    m_numberField->setMinimumWidth(90);
    m_tagField = new QLineEdit(m_card);
    m_tagCompleter = new QCompleter(m_tagField);
    m_tagCompleter->setModel(new QStringListModel(m_tagCompleter));
    m_tagCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    m_tagField->setCompleter(m_tagCompleter);
    m_allAnyPopup = new QComboBox(m_card);
    m_allAnyPopup->addItem(QString(), 0);
    m_allAnyPopup->addItem(QString(), 1);

    auto *modes = new QHBoxLayout;
    modes->setSpacing(0);
    m_modeControl = new QButtonGroup(this);
    for (int mode : {Typing, FlashCards, Popup}) {
        auto *segment = new QPushButton(m_card);
        segment->setCheckable(true);
        segment->setMinimumWidth(96);
        m_modeControl->addButton(segment, mode);
        modes->addWidget(segment);
    }
    m_modeControl->button(Typing)->setChecked(true);
    for (int mode : {Typing, FlashCards, Popup})
        m_modeControl->button(mode)->setEnabled(m_links.modes[mode] != nullptr);
    modes->addStretch();

    m_errorLabel = cardLabel(m_card, 12);
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setStyleSheet(u"color: #ad3349;"_s);
    m_startButton = new QPushButton(m_card);
    m_startButton->setDefault(true);
    m_startButton->setMinimumWidth(120);
    m_startButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto *form = new QGridLayout;
    form->setHorizontalSpacing(16);
    form->setVerticalSpacing(12);
    form->addWidget(m_askInLabel, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    form->addWidget(m_directionPopup, 0, 1, Qt::AlignLeft);
    form->addWidget(m_fromLevelsLabel, 1, 0, Qt::AlignRight | Qt::AlignTop);
    form->addLayout(levels, 1, 1, Qt::AlignLeft);
    form->addWidget(m_numberLabel, 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    form->addWidget(m_numberField, 2, 1, Qt::AlignLeft);
    form->addWidget(m_tagsLabel, 3, 0, Qt::AlignRight | Qt::AlignVCenter);
    auto *tagsRow = new QHBoxLayout;
    tagsRow->addWidget(m_tagField, 1);
    tagsRow->addWidget(m_allAnyPopup);
    form->addLayout(tagsRow, 3, 1);
    form->addLayout(modes, 4, 1);
    form->setColumnStretch(1, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_errorLabel, 1);
    bottom->addWidget(m_startButton, 0, Qt::AlignRight | Qt::AlignBottom);

    auto *cardLayout = new QVBoxLayout(m_card);
    cardLayout->setContentsMargins(30, 22, 26, 20);
    cardLayout->addWidget(m_titleLabel);
    cardLayout->addSpacing(10);
    cardLayout->addLayout(form);
    cardLayout->addStretch();
    cardLayout->addLayout(bottom);

    // The information message, above the card.
    m_infoPanel = new QWidget;
    m_infoPanel->setObjectName(u"infoPanel"_s);
    m_infoPanel->setAttribute(Qt::WA_StyledBackground);
    m_infoPanel->setStyleSheet(u"#infoPanel { background: #f2f2f2; border-radius: 8px; }"_s);
    m_infoPanel->setFixedWidth(cardSize.width());
    m_infoTitle = cardLabel(m_infoPanel, 14, true);
    m_infoText = cardLabel(m_infoPanel, 12);
    m_infoText->setWordWrap(true);
    m_infoButton = new QPushButton(m_infoPanel);
    m_infoAlternateButton = new QPushButton(m_infoPanel);
    m_infoDismissButton = new QPushButton(m_infoPanel);
    auto *infoButtons = new QHBoxLayout;
    infoButtons->addWidget(m_infoDismissButton);
    infoButtons->addStretch();
    infoButtons->addWidget(m_infoAlternateButton);
    infoButtons->addWidget(m_infoButton);
    auto *infoLayout = new QVBoxLayout(m_infoPanel);
    infoLayout->addWidget(m_infoTitle);
    infoLayout->addWidget(m_infoText);
    infoLayout->addLayout(infoButtons);

    // The feedback panel: a question, then either a note to write to us or the rating.
    m_feedbackPanel = new QStackedWidget;
    m_feedbackPanel->setFixedWidth(cardSize.width());
    const auto feedbackPage = [this](QLabel *&label, std::initializer_list<QPushButton **> buttons) {
        auto *page = new QWidget;
        auto *row = new QHBoxLayout(page);
        row->setContentsMargins(0, 0, 0, 0);
        label = new QLabel(page);
        label->setStyleSheet(u"color: rgba(255, 255, 255, 200);"_s);
        row->addWidget(label, 1);
        for (QPushButton **button : buttons) {
            *button = new QPushButton(page);
            row->addWidget(*button);
        }
        m_feedbackPanel->addWidget(page);
    };
    feedbackPage(m_howDoYouLikeItLabel, {&m_loveItButton, &m_unhappyButton});
    feedbackPage(m_feedbackPromptLabel, {&m_sendEmailButton});
    feedbackPage(m_ratePromptLabel, {&m_rateItButton});

    auto *column = new QVBoxLayout;
    column->setSpacing(12);
    column->addWidget(m_infoPanel);
    column->addWidget(m_progressBar);
    column->addWidget(m_card);
    column->addWidget(m_feedbackPanel);
    lexi::placeInTheMiddle(*m_page, *column);

    connect(m_directionPopup, &QComboBox::activated, this,
            [this](int index) { setAskDirection(m_directionPopup->itemData(index).toInt()); });
    connect(m_numberField, &QSpinBox::valueChanged, this, [this] { updateErrorLabel(); });
    connect(m_allAnyPopup, &QComboBox::activated, this, [this] { updateErrorLabel(); });
    connect(m_tagField, &QLineEdit::textEdited, this, &QLXQuizSetupController::updateTagCompletions);
    connect(m_tagField, &QLineEdit::textChanged, this, [this] { updateErrorLabel(); });
    connect(m_startButton, &QPushButton::clicked, this, &QLXQuizSetupController::startQuiz);
    connect(m_infoDismissButton, &QPushButton::clicked, this, &QLXQuizSetupController::dontShowThisInfoAgain);
    connect(m_infoButton, &QPushButton::clicked, this, [this] { goToInfoURL(false); });
    connect(m_infoAlternateButton, &QPushButton::clicked, this, [this] { goToInfoURL(true); });
    connect(m_loveItButton, &QPushButton::clicked, this, &QLXQuizSetupController::showRatingPrompt);
    connect(m_unhappyButton, &QPushButton::clicked, this, &QLXQuizSetupController::showFeedbackPrompt);
    connect(m_sendEmailButton, &QPushButton::clicked, this, &QLXQuizSetupController::sendEmail);
    connect(m_rateItButton, &QPushButton::clicked, this, &QLXQuizSetupController::rateit);
}

void QLXQuizSetupController::localize()
{
    m_titleLabel->setText(quizText(u"setup"_s));
    m_numberLabel->setText(quizText(u"numberOfWords"_s));
    m_fromLevelsLabel->setText(quizText(u"fromLevels"_s));
    m_tagsLabel->setText(quizText(u"onlyWithTags"_s));
    m_askInLabel->setText(quizText(u"askIn"_s));
    m_allAnyPopup->setItemText(0, quizText(u"all"_s));
    m_allAnyPopup->setItemText(1, quizText(u"any"_s));
    m_startButton->setText(quizText(u"startQuiz"_s));
    m_modeControl->button(Typing)->setText(quizText(u"typingQuiz"_s));
    m_modeControl->button(FlashCards)->setText(quizText(u"slideshowQuiz"_s));
    m_modeControl->button(Popup)->setText(quizText(u"popupQuiz"_s));
    // The level toggles show only an image: their names are for the tool tip and screen readers.
    for (int level = 0; level < 6; ++level) {
        m_levelButtons[level]->setToolTip(lexi::levelName(quint64(level)));
        m_levelButtons[level]->setAccessibleName(lexi::levelName(quint64(level)));
    }
    m_loveItButton->setText(mainWindowText(u"loveit"_s));
    m_unhappyButton->setText(mainWindowText(u"unhappy"_s));
    m_rateItButton->setText(mainWindowText(u"rateit"_s));
    m_sendEmailButton->setText(mainWindowText(u"writeToUs"_s));
    m_feedbackPromptLabel->setText(mainWindowText(u"feedbackPrompt"_s));
    m_howDoYouLikeItLabel->setText(mainWindowText(u"howDoYouLikeIt"_s));
    m_ratePromptLabel->setText(mainWindowText(u"ratePrompt"_s));
    m_infoDismissButton->setText(quizText(u"dontShowAgain"_s));
}

bool QLXQuizSetupController::eventFilter(QObject *watched, QEvent *event)
{
    // Return that no control of the card took (a field, a pop-up, a toggle) presses the start
    // button, the page's default.
    if (watched == m_card && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (m_startButton->isEnabled())
                m_startButton->click();
            return true;
        }
    }
    // The tab shows its set-up page: the keys go to it, wherever they went on the tab shown before.
    if (watched == &m_pages && event->type() == QEvent::Show && !event->spontaneous()
        && m_pages.currentPage() == lexi::QuizPages::Setup)
        takeKeyboardFocus();
    // The tab is left (a minimised window hides it too, but on the window system's word).
    if (watched == &m_pages && event->type() == QEvent::Hide && !event->spontaneous()) {
        m_startedSinceTabShown = false;
        leaveRun();
    }
    return QObject::eventFilter(watched, event);
}

void QLXQuizSetupController::leaveRun()
{
    // A run in a window of its own goes on; it tells when it ends.
    bool hasLeft = m_pendingStart.isPending();
    m_pendingStart.cancel();
    for (lexi::QuizMode *mode : m_links.modes) {
        if (mode && mode->isRunInProgress() && !mode->isRunInOwnWindow()) {
            mode->leave();
            hasLeft = true;
        }
    }
    if (hasLeft)
        emit quizRunEnded();
}

const std::shared_ptr<Lexicarta> &QLXQuizSetupController::vocabulary() const
{
    return m_services.keeper.vocabulary();
}

bool QLXQuizSetupController::isRunInOwnWindowInProgress() const
{
    return std::any_of(m_links.modes.cbegin(), m_links.modes.cend(), [](const lexi::QuizMode *mode) {
        return mode && mode->isRunInOwnWindow() && mode->isRunInProgress();
    });
}

bool QLXQuizSetupController::isQuizRunning() const
{
    return m_pendingStart.isPending()
        || std::any_of(m_links.modes.cbegin(), m_links.modes.cend(),
                       [](const lexi::QuizMode *mode) { return mode && mode->isRunInProgress(); });
}

void QLXQuizSetupController::showQuiz()
{
    // The main window shows the tab again a moment after switching to it; by then the learner may
    // have started a quiz, which that must not undo. A run in its own window keeps its page.
    if (m_startedSinceTabShown || isRunInOwnWindowInProgress())
        return;
    leaveRun();
    m_infoPanel->hide();
    if (m_tagField->text().trimmed().isEmpty())
        m_tagField->setText(quizText(u"allTags"_s));
    rebuildDirectionPopup();

    m_overdueCounts = vocabulary() ? lexi::overdueCountsPerLevel(*vocabulary()) : std::array<qint64, 6>{};
    for (int level = 0; level < 6; ++level)
        m_countLabels[level]->setText(QString::number(m_overdueCounts[level]));

    const bool usePreselection = m_preSelectedWords && m_preSelectedWords->size() >= 2;
    std::array<qint64, 6> perLevel{};
    if (usePreselection) {
        for (const std::shared_ptr<QLXWord> &word : std::as_const(*m_preSelectedWords))
            ++perLevel[word->effectiveLevel()];
    }
    for (int level = 0; level < 6; ++level) {
        const QSignalBlocker blocker(m_levelButtons[level]);
        const bool on = usePreselection ? perLevel[level] > 0 : m_overdueCounts[level] > 0;
        m_levelButtons[level]->setChecked(on);
        setButtonActive(level, on);
    }
    if (usePreselection) {
        const QSignalBlocker blocker(m_numberField);
        m_numberField->setValue(int(std::min<qsizetype>(m_preSelectedWords->size(), m_numberField->maximum())));
        updateErrorLabel();
    } else {
        quizListsToAskChanged();
    }
    showSetupPage();
    showInfoPanel();
}

void QLXQuizSetupController::showSetupPage()
{
    // Back from a run, the keys were on a page of the run, or on nothing.
    const QWidget *focus = m_page->window()->focusWidget();
    const bool keysWereOnARun = !focus || !focus->isVisible()
        || (m_pages.isAncestorOf(focus) && !m_page->isAncestorOf(focus));
    m_card->setIsSplit(false);
    m_pages.showPage(lexi::QuizPages::Setup);
    m_progressBar->hide();
    if (keysWereOnARun && m_page->isVisible())
        takeKeyboardFocus();
}

// Start takes the keys, so that Return or Space starts the quiz; while it is off, the first control
// of the page does.
void QLXQuizSetupController::takeKeyboardFocus()
{
    const QWidget *focus = m_page->window()->focusWidget();
    if (focus && focus->isVisible() && m_page->isAncestorOf(focus))
        return;
    QWidget *control = m_startButton->isEnabled() ? static_cast<QWidget *>(m_startButton) : m_directionPopup;
    control->setFocus(Qt::OtherFocusReason);
}

void QLXQuizSetupController::quizListsToAskChanged()
{
    m_preSelectedWords.reset();
    qint64 due = 0;
    for (int level = 0; level < 6; ++level) {
        if (m_levelButtons[level]->isChecked())
            due += m_overdueCounts[level];
    }
    {
        const QSignalBlocker blocker(m_numberField);
        m_numberField->setValue(int(std::min(due, defaultNumberOfWords)));
    }
    updateErrorLabel();
    updateNumberOfDueLabelsState();
}

void QLXQuizSetupController::setPreSelectedWords(const lexi::WordList &words)
{
    m_preSelectedWords = words;
}

void QLXQuizSetupController::setButtonActive(int level, bool active)
{
    setOpacity(*m_levelButtons[level], active ? 1.0 : 0.4);
}

void QLXQuizSetupController::updateNumberOfDueLabelsState()
{
    for (int level = 0; level < 6; ++level)
        setOpacity(*m_countLabels[level], m_levelButtons[level]->isChecked() ? 1.0 : 0.4);
}

void QLXQuizSetupController::rebuildDirectionPopup()
{
    m_directionPopup->clear();
    m_directionPopup->addItem(vocabulary() ? vocabulary()->foreignLanguageName() : QString(), 0);
    m_directionPopup->addItem(vocabulary() ? vocabulary()->yourLanguageName() : QString(), 1);
    m_directionPopup->addItem(quizText(u"Both"_s), 2);
    m_directionPopup->setCurrentIndex(m_askForForeignWord && m_askForYourWord ? 2 : m_askForYourWord ? 1 : 0);
}

void QLXQuizSetupController::setAskDirection(int itemTag)
{
    m_askForForeignWord = itemTag != 1;
    m_askForYourWord = itemTag != 0;
    lexi::Settings settings(m_services.defaults);
    settings.setValue(lexi::Settings::askForForeignWord, m_askForForeignWord);
    settings.setValue(lexi::Settings::askForYourWord, m_askForYourWord);
    updateErrorLabel();
}

QStringList QLXQuizSetupController::chosenTags() const
{
    QStringList tags;
    for (const QString &token : m_tagField->text().split(u',')) {
        const QString tag = token.trimmed();
        if (!tag.isEmpty())
            tags.append(tag);
    }
    if (tags == QStringList{quizText(u"allTags"_s)})
        return {};
    return tags;
}

void QLXQuizSetupController::updateTagCompletions(const QString &text)
{
    const QString prefix = text.section(u',', -1).trimmed();
    lexi::Console::writeLine(u"tokenField completions for: %1"_s.arg(prefix));
    std::optional<QStringList> completions;
    if (vocabulary() && !prefix.isEmpty())
        completions = vocabulary()->completionTagsForPrefix(prefix);
    static_cast<QStringListModel *>(m_tagCompleter->model())->setStringList(completions.value_or(QStringList()));
}

void QLXQuizSetupController::showError(const QString &key)
{
    m_errorLabel->setText(quizText(key));
    m_errorLabel->show();
}

bool QLXQuizSetupController::isUserSetupOK()
{
    m_startButton->setEnabled(true);
    lexi::QuizSetupChoice choice;
    for (int level = 0; level < 6; ++level)
        choice.levelsOn[level] = m_levelButtons[level]->isChecked();
    choice.overdueCounts = m_overdueCounts;
    choice.numberOfWords = m_numberField->value();
    choice.tags = chosenTags();
    choice.mustMatchAllTags = m_allAnyPopup->currentData().toInt() == 0;
    lexi::QuizSetupVerdict verdict;
    if (vocabulary()) {
        verdict = lexi::checkQuizSetup(*vocabulary(), choice);
    } else {
        // Without a vocabulary there are no words: the check of the levels still comes first.
        const bool anyLevel = std::find(choice.levelsOn.cbegin(), choice.levelsOn.cend(), true) != choice.levelsOn.cend();
        verdict = {anyLevel ? u"noWords"_s : u"noWordsOverDue"_s, false};
    }
    if (verdict.isOK())
        return true;
    showError(*verdict.errorKey);
    m_startButton->setEnabled(verdict.isStartEnabled);
    return false;
}

void QLXQuizSetupController::updateErrorLabel()
{
    if (isUserSetupOK())
        m_errorLabel->hide();
}

void QLXQuizSetupController::startQuiz()
{
    if (m_pendingStart.isPending() || !isUserSetupOK())
        return;
    const QStringList tags = chosenTags();
    const bool mustMatchAll = m_allAnyPopup->currentData().toInt() == 0;
    lexi::QuizMode *mode = m_links.modes[std::max(m_modeControl->checkedId(), 0)];
    if (!mode)
        return;
    QLXQuizInterface &quiz = mode->quiz();
    quiz.setVocabulary(vocabulary());
    if (m_preSelectedWords && m_preSelectedWords->size() >= 2) {
        quiz.setWordsToAsk(*m_preSelectedWords);
    } else {
        quiz.setAskUnknown(m_levelButtons[0]->isChecked());
        quiz.setAskUltrashort(m_levelButtons[1]->isChecked());
        quiz.setAskShortterm(m_levelButtons[2]->isChecked());
        quiz.setAskMidterm(m_levelButtons[3]->isChecked());
        quiz.setAskLongterm(m_levelButtons[4]->isChecked());
        quiz.setAskNative(m_levelButtons[5]->isChecked());
        quiz.setNumberOfWordsToAsk(m_numberField->value());
        quiz.setIsWordsMustMatchAllTags(mustMatchAll);
        quiz.setFilterTags(QSet<QString>(tags.cbegin(), tags.cend()));
        quiz.setAskForForeignWord(m_askForForeignWord);
        quiz.setAskForYourWord(m_askForYourWord);
        quiz.createWordsToAsk();
    }
    if (quiz.wordsToAsk().isEmpty()) {
        showError(u"noMatchingWordsMsg"_s);
        return;
    }
    m_errorLabel->hide();
    m_startedSinceTabShown = true;
    m_pendingStart = m_services.scheduler.after(startDelay, [this, mode] {
        m_flip.flipFirstHalf(*m_card);
        m_card->setColorNeutral();
        if (QWidget *card = mode->start())
            m_flip.flipSecondHalf(*card);
        else
            m_flip.cancelFirstHalf();
    });
    m_preSelectedWords.reset();
    m_infoPanel->hide();
}
