#pragma once

#include "QLXTokenCloudDelegate.h"
#include "QLXWordPopoverController.h"
#include "ShownWords.h"
#include "VocabularyListTexts.h"

#include "model/QLXWordPopoverDelegate.h"
#include "platform/dispatch/DelayedBlock.h"
#include "views/MainWindowPage.h"

#include <QKeyEvent>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QLXPopover;
class QLXTokenCloud;
class QPushButton;
class QScrollArea;
class QTableView;
class WordTableModel;

namespace lexi {
class VocabularyKeeper;
class VocabularySyncStatus;
} // namespace lexi

// The vocabulary tab and the holder of the current vocabulary. It shows the vocabulary's words in
// a table, one level at a time or all together, narrowed by a search term and by the tags chosen
// in the tag cloud, sorted by a clicked column (a second click reverses); it shows the synonyms,
// deletes duplicates, tags a word by a tag dropped on its row, and edits, adds and deletes words
// through the word popover. It owns the open vocabulary, which the keeper of its services holds:
// every page reads the vocabulary from the keeper and hears of its replacement and changes there.
class LexicartaController : public QWidget,
                            public lexi::VocabularyListPage,
                            private QLXWordPopoverDelegate,
                            private QLXTokenCloudDelegate
{
    Q_OBJECT

public:
    struct Services
    {
        // Its keeper holds the list's vocabulary.
        QLXWordPopoverController::Services popover;
        // What the list shows of the synchronisation once the tab is shown; none: no status.
        const lexi::VocabularySyncStatus *syncStatus = nullptr;
    };

    // The level that stands for all words (and the synonyms).
    static constexpr quint64 allWordsLevel = lexi::ShownWords::allWordsLevel;
    // Typing in the search field refreshes the table once it pauses this long.
    static constexpr std::chrono::milliseconds searchDelay{150};
    // After adding a word with more to come, the next empty popover opens this much later.
    static constexpr std::chrono::milliseconds addMoreDelay{500};

    explicit LexicartaController(Services services, QWidget *parent = nullptr);

    // The tab's page is the controller itself.
    QWidget *view() override { return this; }

    // When the tab is shown: takes what it shows of the synchronisation from now on, refreshes.
    void showVocabulary() override;
    lexi::VocabularyKeeper &keeper() override { return m_services.popover.keeper; }
    const std::shared_ptr<Lexicarta> &vocabulary() const;
    void updateEntireView() override;

    void showAddWordPanel() override;
    lexi::WordList getSelectedWordsArray() const override;
    void deselectWords() override;
    void closeAddWordPopover() override;
    // Hides the help shown over the table until the next refresh.
    void closeHelp() override;
    void cloudControllerDidSync() override;
    lexi::VocabularyHelpTargets helpTargets() const override;

    // Actions of the tab's own views and menu items.
    void selectMemoryView(std::optional<quint64> level);
    void setDisplaySynonyms() override;
    void deleteDuplicates() override;
    void search();
    void focusOnSearchField();
    void toggleStatusView();
    void selectAllTags();
    void deselectAllTags();
    void tableViewDidClickTableColumn(int column);
    // A text dropped onto a row (the table checks where it was dropped).
    bool tableViewAcceptDrop(int row, const QString &text);

    quint64 selectedLevel() const { return m_selectedLevel; }
    bool isSynonymsActive() const override { return m_isSynonymsActive; }
    bool sortDescending() const { return m_shown.sortDescending(); }
    const lexi::WordList &currentWordsToShow() const { return m_shown.words(); }

    // The views and the popover, for the program and tests.
    QLXWordPopoverController *popoverController() const { return m_popoverController; }
    QLXPopover *popover() const { return m_popover; }
    QTableView *tableView() const { return m_table; }
    WordTableModel *tableModel() const { return m_model; }
    QLineEdit *searchField() const { return m_searchField; }
    QLXTokenCloud *tokenCloud() const { return m_tokenCloud; }
    QPushButton *levelButton(quint64 level) const { return m_levelButtons.at(std::min<quint64>(level, allWordsLevel)); }
    QPushButton *showAllWordsButton() const { return m_showAllWordsButton; }
    QPushButton *addWordButton() const { return m_addWordButton; }
    // The tag filter's heading with its All and None buttons.
    QList<QWidget *> tagFilterControls() const;
    // The text shown in the table when it has nothing to show.
    QLabel *helpLabel() const { return m_helpLabel; }
    QLabel *infoLabel() const { return m_infoLabel; }
    QString headingText() const;
    QString infoText() const;
    bool isInfoWarning() const { return m_infoIsWarning; }
    QString statusText() const;
    lexi::VocabularyListTexts::HelpPage helpPage() const { return m_helpPage; }

private:
    void buildView();
    void localize();
    void awake();
    void recalculate();
    // Shows the shown words anew, none selected, and their status line: row by row when they
    // followed their words one by one (then true), else as a whole after a refresh and as row
    // changes after an edit.
    bool showWords(bool asRowChanges);
    // How many rows the table had before these edits made them the shown words.
    qsizetype rowCountBefore(const std::vector<lexi::RowEdit> &edits) const;
    // The heading and info of the selected level.
    lexi::VocabularyListTexts::LevelTexts selectedLevelTexts() const;
    void updateStatusText();
    void showHelp(lexi::VocabularyListTexts::HelpPage page);
    void placeHelpLabel();
    void setLevelTexts(const lexi::VocabularyListTexts::LevelTexts &texts);
    // The page's colours from its palette, again whenever the palette changes (a dark desktop).
    void applyPaletteColors();
    void setStatusPage(int page);
    void switchSynonymsOff();
    // What selectMemoryView() does before it shows the words: the popover closed, the vocabulary
    // saved, the level chosen and its texts. False, and nothing chosen, when the save failed.
    bool chooseMemoryView(std::optional<quint64> level);
    void tableViewSelectionDidChange();
    // Selects the rows of `words` without opening the popover.
    void selectWords(const lexi::WordList &words);
    void showPopoverForSelection();
    void closePopover();
    void holdKeysForNextWord();
    void stopHoldingKeys();
    void deliverHeldKeys();
    void cancelPopover();
    void vocabularyWasReplaced();
    // A save of the vocabulary, or a change recorded in it; false (and `failure` logged) when the
    // save was refused.
    bool save(const char *failure);
    bool recordChange(const char *failure);
    // After the popover changed words: the list anew, as row changes.
    bool refreshAfterChange();
    // The words, the tag cloud, the status and the help anew; the table reset or told of its
    // rows' changes. True when its rows followed the words one by one.
    bool refresh(bool asRowChanges);
    // A modification ID stamped now: whole seconds since 1970.
    qint64 modificationIDNow() const;

    void wordPopoverDidDeleteWords(const lexi::WordList &words) override;
    void wordPopoverDidCancelEditWords(const lexi::WordList &words) override;
    void wordPopoverDidEditWords(const lexi::WordList &words) override;
    void wordPopoverDidAddWords(const lexi::WordList &words, bool shallAddMore) override;
    void wordPopoverDidCancelAddingWords(const lexi::WordList &words) override;
    void tokenCloudDidClickToken(QLXTokenCloud *cloud, const QString &token, bool enabled) override;
    void tokenCloudDidChangePreferredHeightTo(QLXTokenCloud *cloud, double height) override;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

    Services m_services;
    const lexi::VocabularySyncStatus *m_syncStatus = nullptr;
    lexi::ShownWords m_shown;
    quint64 m_selectedLevel = allWordsLevel;
    bool m_isSynonymsActive = false;
    int m_lastColumn = 0;
    int m_statusPage = 0;
    bool m_infoIsWarning = false;
    lexi::VocabularyListTexts::HelpPage m_helpPage = lexi::VocabularyListTexts::HelpPage::None;
    lexi::dispatch::DelayedBlock m_searchBlock;
    lexi::dispatch::DelayedBlock m_addMoreBlock;
    // From "Add More" until the next popover's first field has the keyboard, keys reaching the
    // table are held here for that popover instead of searching or changing the list.
    bool m_isHoldingKeysForNextWord = false;
    std::vector<std::unique_ptr<QKeyEvent>> m_keysForNextWord;
    // Selection changes made by the list itself open no popover.
    bool m_isChangingSelection = false;

    QLXWordPopoverController *m_popoverController = nullptr;
    QLXPopover *m_popover = nullptr;
    QTableView *m_table = nullptr;
    WordTableModel *m_model = nullptr;
    QLineEdit *m_searchField = nullptr;
    QLabel *m_headingLabel = nullptr;
    QLabel *m_infoLabel = nullptr;
    QLabel *m_helpLabel = nullptr;
    QPushButton *m_statusButton = nullptr;
    QString m_statusTexts[2];
    QButtonGroup *m_levelGroup = nullptr;
    std::array<QPushButton *, allWordsLevel + 1> m_levelButtons{};
    QPushButton *m_addWordButton = nullptr;
    QPushButton *m_showAllWordsButton = nullptr;
    QPushButton *m_selectAllTagsButton = nullptr;
    QPushButton *m_selectNoTagsButton = nullptr;
    QLabel *m_levelsLabel = nullptr;
    QLabel *m_tagsFilterLabel = nullptr;
    QLXTokenCloud *m_tokenCloud = nullptr;
    QScrollArea *m_tokenScrollArea = nullptr;
};
