#include "QLXWordPopoverController.h"

#include "VocabularyListTexts.h"

#include "logging/QLXLogMacros.h"
#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"
#include "platform/dispatch/Scheduler.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Clock.h"
#include "platform/ports/Console.h"
#include "views/TextShareKeeper.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <cmath>

using namespace Qt::StringLiterals;
using lexi::VocabularyListTexts::text;

namespace {

constexpr int qlxLogLevel = QLXLogLevelInfo;

} // namespace

QLXWordPopoverController::QLXWordPopoverController(Services services, QWidget *parent)
    : QWidget(parent), m_services(services)
{
    connect(&m_services.keeper, &lexi::VocabularyKeeper::vocabularyReplaced, this,
            &QLXWordPopoverController::vocabularyWasReplaced);
    buildView();
    localize();
}

void QLXWordPopoverController::buildView()
{
    setMinimumWidth(380);

    m_yourLanguageLabel = new QLabel(this);
    m_foreignLanguageLabel = new QLabel(this);
    m_yourWordField = new QLXLanguageTextField(this);
    m_foreignWordField = new QLXLanguageTextField(this);
    m_commentField = new QLXLanguageTextField(this);
    m_tagsField = new QLXLanguageTokenField(this);
    m_commentLabel = new QLabel(this);
    m_topicTagsLabel = new QLabel(this);
    m_separateWithCommaLabel = new QLabel(this);
    m_dontAskAgainCheckBox = new QCheckBox(this);
    m_okButton = new QPushButton(this);
    m_addButton = new QPushButton(this);
    m_cancelButton = new QPushButton(this);
    m_deleteButton = new QPushButton(this);
    m_quizSelectedButton = new QPushButton(this);

    for (QLXLanguageTextField *field : {m_yourWordField, m_foreignWordField, m_commentField})
        field->setLanguageDelegate(this);
    m_tagsField->setLanguageDelegate(this);
    m_tagsField->setCompletionProvider([this](const QString &prefix) {
        lexi::Console::writeLine(u"tokenCell completions for: %1"_s.arg(prefix));
        const std::optional<QStringList> completions =
            vocabulary() ? vocabulary()->completionTagsForPrefix(prefix) : std::nullopt;
        return completions.value_or(QStringList());
    });
    connect(m_commentField, &QLineEdit::textEdited, this, [this] { m_commentIsVarious = false; });

    QFont small = m_separateWithCommaLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_separateWithCommaLabel->setFont(small);
    lexi::TextShareKeeper::keep(*m_separateWithCommaLabel, lexi::TextShareKeeper::secondaryTextShare);
    for (QLabel *label : {m_yourLanguageLabel, m_foreignLanguageLabel, m_commentLabel, m_topicTagsLabel}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The language names come from the vocabulary.
        label->setTextFormat(Qt::PlainText);
    }
    QFont bold = m_foreignLanguageLabel->font();
    bold.setBold(true);
    m_foreignLanguageLabel->setFont(bold);
    m_yourLanguageLabel->setFont(bold);
    m_okButton->setDefault(true);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->addWidget(m_foreignLanguageLabel, 0, 0);
    grid->addWidget(m_foreignWordField, 0, 1);
    grid->addWidget(m_yourLanguageLabel, 1, 0);
    grid->addWidget(m_yourWordField, 1, 1);
    grid->addWidget(m_commentLabel, 2, 0);
    grid->addWidget(m_commentField, 2, 1);
    grid->addWidget(m_topicTagsLabel, 3, 0);
    grid->addWidget(m_tagsField, 3, 1);
    grid->addWidget(m_separateWithCommaLabel, 4, 1);
    grid->addWidget(m_dontAskAgainCheckBox, 5, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_deleteButton);
    buttons->addWidget(m_quizSelectedButton);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_okButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    // Tab follows the rows from the top, then the buttons from the left.
    const QList<QWidget *> tabOrder{m_foreignWordField, m_yourWordField,      m_commentField,
                                    m_tagsField,        m_dontAskAgainCheckBox, m_deleteButton,
                                    m_quizSelectedButton, m_cancelButton,     m_addButton,
                                    m_okButton};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(m_okButton, &QPushButton::clicked, this, [this] { closeWordPanel(Sender::OkButton); });
    connect(m_addButton, &QPushButton::clicked, this, [this] { closeWordPanel(Sender::AddButton); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { closeWordPanel(Sender::Cancel); });
    connect(m_deleteButton, &QPushButton::clicked, this, &QLXWordPopoverController::deleteWord);
    connect(m_quizSelectedButton, &QPushButton::clicked, this,
            [this] { emit quizSelectedWordsRequested(m_selectedWords); });
}

void QLXWordPopoverController::localize()
{
    m_addButton->setText(text(u"add"_s));
    m_cancelButton->setText(text(u"cancel"_s));
    m_dontAskAgainCheckBox->setText(text(u"dontAskAgain"_s));
    m_deleteButton->setText(text(u"delete"_s));
    m_quizSelectedButton->setText(text(u"quizSelectedWords"_s));
    m_commentLabel->setText(text(u"comment"_s));
    m_topicTagsLabel->setText(text(u"topicTags"_s));
    m_separateWithCommaLabel->setText(text(u"separateWithComma"_s));
}

void QLXWordPopoverController::showEditWindowForWords(const lexi::WordList &words, QLXWordPopoverDelegate *delegate)
{
    m_isActive = true;
    m_selectedWords = words;
    m_delegate = delegate;
    setupPopoverGUI();
}

void QLXWordPopoverController::showAddWindowForWords(const lexi::WordList &words, QLXWordPopoverDelegate *delegate)
{
    m_isInAddingMode = true;
    showEditWindowForWords(words, delegate);
}

void QLXWordPopoverController::setupPopoverGUI()
{
    if (!vocabulary())
        return;
    m_isSwitchTagsKeyboardToForeign = m_services.settings.value(lexi::Settings::switchKeyboardTagsToForeign);
    m_isSwitchCommentKeyboardToForeign = m_services.settings.value(lexi::Settings::switchKeyboardCommentToForeign);
    showForm(lexi::WordPopoverEditor::setUp(m_selectedWords, *vocabulary(), m_isInAddingMode,
                                            m_services.selectedLocaleName));

    m_focusBlock = m_services.scheduler.after(focusDelay, [view = QPointer<QWidget>(this), this] {
        if (view && view->isVisible())
            m_foreignWordField->setFocus(Qt::OtherFocusReason);
    });
}

void QLXWordPopoverController::showForm(const lexi::WordPopoverForm &form)
{
    m_addButton->setVisible(form.isAdding);
    m_addButton->setEnabled(form.isAdding);
    m_deleteButton->setVisible(!form.isAdding);
    m_deleteButton->setEnabled(!form.isAdding);
    m_quizSelectedButton->setVisible(form.showsQuizSelected);
    m_quizSelectedButton->setEnabled(form.showsQuizSelected);
    m_okButton->setText(text(form.isAdding ? u"wordPopOverAddMore"_s : u"wordPopOverEdit"_s));
    m_yourLanguageLabel->setText(form.yourLanguageName);
    m_foreignLanguageLabel->setText(form.foreignLanguageName);

    const QString various = text(u"<Various Values>"_s);
    for (QLineEdit *field : {static_cast<QLineEdit *>(m_yourWordField), static_cast<QLineEdit *>(m_foreignWordField)}) {
        field->setEnabled(form.wordFieldsEnabled);
        field->setPlaceholderText(form.wordFieldsEnabled ? QString() : various);
    }
    m_yourWordField->setText(form.yourWord);
    m_foreignWordField->setText(form.foreignWord);
    m_commentIsVarious = !form.comment.has_value();
    m_commentField->setText(form.comment.value_or(QString()));
    m_commentField->setPlaceholderText(m_commentIsVarious ? various : QString());
    m_tagsField->setTokens(form.tags, form.keepsVariousTags ? std::optional(text(u"Various Values"_s)) : std::nullopt);

    m_dontAskAgainCheckBox->setTristate(form.checkBoxAllowsMixed);
    m_dontAskAgainCheckBox->setCheckState(form.dontAskAgain == lexi::CheckState::On    ? Qt::Checked
                                          : form.dontAskAgain == lexi::CheckState::Off ? Qt::Unchecked
                                                                                       : Qt::PartiallyChecked);
    m_dontAskAgainCheckBox->setVisible(form.checkBoxShown);
    m_dontAskAgainCheckBox->setEnabled(form.checkBoxShown);
}

lexi::WordPopoverForm QLXWordPopoverController::form() const
{
    lexi::WordPopoverForm form;
    form.isAdding = m_isInAddingMode;
    form.yourWord = m_yourWordField->text();
    form.foreignWord = m_foreignWordField->text();
    if (!m_commentIsVarious)
        form.comment = m_commentField->text();
    form.tags = m_tagsField->tokens();
    form.keepsVariousTags = m_tagsField->hasPlaceholderToken();
    const Qt::CheckState state = m_dontAskAgainCheckBox->checkState();
    form.dontAskAgain = state == Qt::Checked     ? lexi::CheckState::On
                        : state == Qt::Unchecked ? lexi::CheckState::Off
                                                 : lexi::CheckState::Mixed;
    return form;
}

qint64 QLXWordPopoverController::now1970() const
{
    return qint64(std::trunc(m_services.clock.now().secondsSince1970()));
}

void QLXWordPopoverController::closeWordPanel(Sender sender)
{
    const lexi::WordList words = m_selectedWords;
    if (sender == Sender::Cancel) {
        const bool wasAdding = m_isInAddingMode;
        m_isInAddingMode = false;
        // The edit is over: a vocabulary handed over later must not go to this popover.
        m_isActive = false;
        restoreKeyboard();
        if (!m_delegate)
            return;
        if (wasAdding)
            m_delegate->wordPopoverDidCancelAddingWords(words);
        else
            m_delegate->wordPopoverDidCancelEditWords(words);
        return;
    }
    if (!vocabulary())
        return;

    restoreKeyboard();
    const auto applied = lexi::WordPopoverEditor::apply(form(), words, *vocabulary(), now1970());
    if (applied == lexi::WordPopoverEditor::Applied::DuplicateRemoved) {
        m_services.alerts.runModal({text(u"addDuplicateTitle"_s), text(u"addDuplicateMsg"_s),
                                    {lexi::StringTables::text(u"ok"_s)}, 0});
    }
    lexi::WordPopoverEditor::finishChange(*vocabulary());
    if (!m_services.keeper.recordChange()) {
        QLXLogError("WordPopoverController > editWord > could not save");
        return;
    }
    const bool wasAdding = m_isInAddingMode;
    m_isInAddingMode = false;
    m_isActive = false;
    if (!m_delegate)
        return;
    if (wasAdding)
        m_delegate->wordPopoverDidAddWords(words, sender == Sender::OkButton);
    else
        m_delegate->wordPopoverDidEditWords(words);
}

void QLXWordPopoverController::deleteWord()
{
    if (!vocabulary())
        return;
    const lexi::WordList words = m_selectedWords;
    if (words.size() >= lexi::WordPopoverEditor::deleteQuestionThreshold) {
        enum { cancelButton, deleteButton };
        const int answer = m_services.alerts.runModal(
            {text(u"reallyDelete"_s), text(u"reallyDeleteMsg"_s), {text(u"cancel"_s), text(u"delete"_s)},
             cancelButton});
        if (answer != deleteButton)
            return;
    }
    restoreKeyboard();
    lexi::WordPopoverEditor::deleteWords(words, *vocabulary());
    lexi::WordPopoverEditor::finishChange(*vocabulary());
    if (!m_services.keeper.recordChange()) {
        QLXLogError("WordPopoverController > removeWord > could not save");
        return;
    }
    m_isInAddingMode = false;
    m_isActive = false;
    if (m_delegate)
        m_delegate->wordPopoverDidDeleteWords(words);
}

const std::shared_ptr<Lexicarta> &QLXWordPopoverController::vocabulary() const
{
    return m_services.keeper.vocabulary();
}

void QLXWordPopoverController::vocabularyWasReplaced()
{
    const std::shared_ptr<Lexicarta> &vocabulary = this->vocabulary();
    if (!m_isActive || !vocabulary)
        return;
    const lexi::WordList found = lexi::WordPopoverEditor::carryOver(m_selectedWords, *vocabulary, m_isInAddingMode);
    if (found.isEmpty()) {
        closeWordPanel(Sender::Cancel);
        return;
    }
    QPointer<QWidget> focused = QApplication::focusWidget();
    m_selectedWords = found;
    setupPopoverGUI();
    if (focused)
        focused->setFocus(Qt::OtherFocusReason);
}

void QLXWordPopoverController::switchKeyboard(const std::optional<lexi::InputSource> &source)
{
    if (!source)
        return;
    if (!m_textInputSourceBackup)
        m_textInputSourceBackup = m_services.inputSources.currentKeyboardInputSource();
    m_services.inputSources.selectInputSource(source->identifier);
}

void QLXWordPopoverController::restoreKeyboard()
{
    if (const std::optional<lexi::InputSource> backup = std::exchange(m_textInputSourceBackup, std::nullopt))
        m_services.inputSources.selectInputSource(backup->identifier);
}

void QLXWordPopoverController::languageTextFieldDidBecomeActive(QLXLanguageTextField *field)
{
    if (!vocabulary() || !vocabulary()->isAutoSelectInputSource())
        return;
    const auto &foreign = vocabulary()->foreignTextInputSource();
    const auto &own = vocabulary()->yourTextInputSource();
    if (field == m_foreignWordField)
        switchKeyboard(foreign);
    else if (field == m_yourWordField)
        switchKeyboard(own);
    else if (field == m_commentField && foreign && own)
        switchKeyboard(m_isSwitchCommentKeyboardToForeign ? foreign : own);
}

void QLXWordPopoverController::languageTokenFieldDidBecomeActive(QLXLanguageTokenField *)
{
    if (!vocabulary() || !vocabulary()->isAutoSelectInputSource())
        return;
    const auto &foreign = vocabulary()->foreignTextInputSource();
    const auto &own = vocabulary()->yourTextInputSource();
    if (foreign && own)
        switchKeyboard(m_isSwitchTagsKeyboardToForeign ? foreign : own);
}

// The layout in use before the field had the focus comes back whether or not its text changed.
void QLXWordPopoverController::languageTextFieldDidLoseFocus(QLXLanguageTextField *)
{
    restoreKeyboard();
}

void QLXWordPopoverController::languageTokenFieldDidLoseFocus(QLXLanguageTokenField *)
{
    restoreKeyboard();
}

void QLXWordPopoverController::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        closeWordPanel(Sender::Cancel);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        closeWordPanel(Sender::OkButton);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
