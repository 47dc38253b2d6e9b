#pragma once

#include "WordPopoverEditor.h"

#include "model/QLXWordPopoverDelegate.h"
#include "platform/dispatch/DelayedBlock.h"
#include "platform/ports/InputSources.h"
#include "views/QLXLanguageTextField.h"
#include "views/QLXLanguageTokenField.h"
#include "views/WordEditingForm.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class Lexicarta;
class QCheckBox;
class QLabel;
class QPushButton;

namespace lexi {
class AlertPresenter;
class Clock;
class Settings;
class VocabularyKeeper;
namespace dispatch {
class Scheduler;
}
} // namespace lexi

// The editor of words: adds one new word, edits one or several words, deletes words. Its view is
// shown by a host (in a QLXPopover the host owns and closes), which hears the outcome through
// QLXWordPopoverDelegate. The controller applies every change itself, rebuilds the vocabulary's
// synonyms and tag index, and records the change (marked for synchronisation, saved) before it
// reports. While the
// learner types, it switches the keyboard layout to the language of the field.
class QLXWordPopoverController : public QWidget,
                                 public lexi::WordEditingForm,
                                 private QLXLanguageTextFieldDelegate,
                                 private QLXLanguageTokenFieldDelegate
{
    Q_OBJECT

public:
    struct Services
    {
        // The open vocabulary: what the popover edits, and where it records each change.
        lexi::VocabularyKeeper &keeper;
        lexi::AlertPresenter &alerts;
        lexi::InputSources &inputSources;
        const lexi::Clock &clock;
        lexi::dispatch::Scheduler &scheduler;
        // The learner's choice of keyboard layout for the comment and the tags, read at each
        // set-up.
        const lexi::Settings &settings;
        // Shown as the learner's language of a vocabulary that has no name for it.
        QString selectedLocaleName;
    };

    // What closes the popover: the OK button (adds more while adding), the add button, or
    // anything else, which cancels.
    enum class Sender { OkButton, AddButton, Cancel };

    // The foreign-word field takes the focus this long after a set-up.
    static constexpr std::chrono::milliseconds focusDelay{500};

    explicit QLXWordPopoverController(Services services, QWidget *parent = nullptr);

    // The popover's content is the controller itself; the host puts it into its popover, which
    // then owns it.
    QWidget *view() override { return this; }

    // Edits (or adds) `words` of the open vocabulary.
    void showEditWindowForWords(const lexi::WordList &words, QLXWordPopoverDelegate *delegate) override;
    void showAddWindowForWords(const lexi::WordList &words, QLXWordPopoverDelegate *delegate);
    // Applies (OK and add buttons) or cancels. A cancel ends the edit: the popover is no longer
    // active.
    void closeWordPanel(Sender sender);
    // Deletes the selected words, asking first when there are two or more.
    void deleteWord();

    bool isInAddingMode() const { return m_isInAddingMode; }
    void setIsInAddingMode(bool adding) { m_isInAddingMode = adding; }
    bool isActive() const { return m_isActive; }
    QLXWordPopoverDelegate *delegate() const { return m_delegate; }
    void setDelegate(QLXWordPopoverDelegate *delegate) { m_delegate = delegate; }
    const lexi::WordList &selectedWords() const { return m_selectedWords; }
    const std::shared_ptr<Lexicarta> &vocabulary() const;

    // The fields as the learner left them.
    lexi::WordPopoverForm form() const;

    // The views, for hosts and tests.
    QLXLanguageTextField *yourWordField() const { return m_yourWordField; }
    QLXLanguageTextField *foreignWordField() const { return m_foreignWordField; }
    QLXLanguageTextField *commentField() const { return m_commentField; }
    QLXLanguageTokenField *tagsField() const { return m_tagsField; }
    QCheckBox *dontAskAgainCheckBox() const { return m_dontAskAgainCheckBox; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *quizSelectedButton() const { return m_quizSelectedButton; }

signals:
    // The quiz-selected button: the main window starts a quiz of the words.
    void quizSelectedWordsRequested(const lexi::WordList &words);

protected:
    // Escape cancels and Return applies, wherever the focus is in the form.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildView();
    void localize();
    // The open vocabulary was replaced (a fresh load): the edit goes on with the same words
    // there, or is cancelled when they are gone.
    void vocabularyWasReplaced();
    void setupPopoverGUI();
    void showForm(const lexi::WordPopoverForm &form);
    qint64 now1970() const;
    // Selects `source` for typing after keeping the one in use, to restore it later.
    void switchKeyboard(const std::optional<lexi::InputSource> &source);
    void restoreKeyboard();

    void languageTextFieldDidBecomeActive(QLXLanguageTextField *field) override;
    void languageTextFieldDidLoseFocus(QLXLanguageTextField *field) override;
    void languageTokenFieldDidBecomeActive(QLXLanguageTokenField *field) override;
    void languageTokenFieldDidLoseFocus(QLXLanguageTokenField *field) override;

    Services m_services;
    QLXWordPopoverDelegate *m_delegate = nullptr;
    lexi::WordList m_selectedWords;
    bool m_isInAddingMode = false;
    bool m_isActive = false;
    std::optional<lexi::InputSource> m_textInputSourceBackup;
    bool m_isSwitchTagsKeyboardToForeign = false;
    bool m_isSwitchCommentKeyboardToForeign = false;
    // The comment field still stands for the words' differing comments.
    bool m_commentIsVarious = false;
    lexi::dispatch::DelayedBlock m_focusBlock;

    QLabel *m_yourLanguageLabel = nullptr;
    QLabel *m_foreignLanguageLabel = nullptr;
    QLXLanguageTextField *m_yourWordField = nullptr;
    QLXLanguageTextField *m_foreignWordField = nullptr;
    QLXLanguageTextField *m_commentField = nullptr;
    QLXLanguageTokenField *m_tagsField = nullptr;
    QCheckBox *m_dontAskAgainCheckBox = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_quizSelectedButton = nullptr;
    QLabel *m_commentLabel = nullptr;
    QLabel *m_topicTagsLabel = nullptr;
    QLabel *m_separateWithCommaLabel = nullptr;
};
