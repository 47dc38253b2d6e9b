#pragma once

#include "LanguageEditor.h"
#include "MainWindowPages.h"
#include "UsageStatisticsChoice.h"
#include "VocabularySummaryCache.h"

#include "model/QLXFile.h"
#include "model/VocabularyKeeper.h"
#include "platform/ports/InputSources.h"
#include "platform/dispatch/DelayedBlock.h"
#include "platform/dispatch/SerialQueue.h"

#include <QHash>
#include <QList>
#include <QUrl>
#include <QWidget>

#include <functional>

class ANClient;
class DropBoxController;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLXBookmarkView;
class QLXColorButton;
class QLXColorTheme;
class QLXLanguageSheet;
class QLXPreferencesDelegate;
class QLXStorageManager;
class QLXSyncLog;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;

namespace lexi {
class AlertPresenter;
class ApplicationFolders;
class Clock;
class Defaults;
class VocabulariesTableModel;
namespace dispatch {
class Scheduler;
}
} // namespace lexi

// The settings tab of the main window: three pages chosen from a side bar. The general page holds
// the quiz and keyboard options, the colour theme and the usage statistics choice; the languages
// page lists every vocabulary with its word count and keyboards, and adds, edits, renames and
// deletes vocabularies through a sheet; the syncing page switches the synchronisation on and off
// and shows how each language was last synchronised. The main window makes itself the delegate
// and is told of every vocabulary added, changed or deleted here.
//
// Vocabularies are read and saved off the main thread: the languages table shows each file once
// its summary is read (see lexi::VocabularySummaryCache), and the sheet stays open, inactive,
// while its vocabulary is saved.
class QLXPreferencesController final : public QWidget, public lexi::PreferencesPage
{
    Q_OBJECT

public:
    struct Environment
    {
        // All of them must outlive the controller; `sync`, `syncLog` and `analytics` may be none.
        const lexi::ApplicationFolders *folders = nullptr;
        QLXStorageManager *storage = nullptr;
        const lexi::VocabularyServices *services = nullptr;
        lexi::Defaults *defaults = nullptr;
        DropBoxController *sync = nullptr;
        QLXSyncLog *syncLog = nullptr;
        ANClient *analytics = nullptr;
        lexi::AlertPresenter *alerts = nullptr;
        lexi::InputSources *inputSources = nullptr;
        const lexi::Clock *clock = nullptr;
        lexi::dispatch::Scheduler *scheduler = nullptr;
        // The background colour every bookmark view paints; the general page chooses it.
        QLXColorTheme *colorTheme = nullptr;
        // Opens a web address in the learner's browser.
        std::function<void(const QUrl &)> openUrl;
        // Holds the vocabulary that is open, which the table lists as it is now instead of reading
        // its file; may be none.
        const lexi::VocabularyKeeper *keeper = nullptr;
    };

    // How long after the last vocabulary was deleted the sheet for a new one opens.
    static constexpr std::chrono::milliseconds addSheetDelay{1000};

    explicit QLXPreferencesController(Environment environment, QWidget *parent = nullptr);

    QWidget *view() override { return this; }
    void setDelegate(QLXPreferencesDelegate *delegate) override { m_delegate = delegate; }

    // Fills every page from the settings and lists the vocabularies; the main window calls it
    // each time the tab opens.
    void showPreferences() override;
    void localize();

    void showGeneral();
    void showLanguages() override;
    void showSyncing() override;
    // After every synchronisation: the status text and the switch.
    void cloudControllerDidSync() override;

    // Lists the vocabulary files and fills the table with those read so far. The files are read
    // only while the page is on screen: one that is hidden lists them when it shows.
    void loadVocabularies();
    void removeLanguage();
    void showAddLangPanel();
    void showEditLangPanel();
    // Makes the colour of `index` (0 dark grey, 1 blue, 2 purple, 3 green, 4 red, 5 violet) the
    // background of every page, and keeps the choice.
    void changeColorTheme(qint64 index);

    int currentPage() const;
    qsizetype allVocsCountIncludingInvisibles() const;

    QLXBookmarkView *bookmarkView() const { return m_bookmarkView; }
    QPushButton *generalButton() const { return m_pageButtons[0]; }
    QPushButton *languagesButton() const { return m_pageButtons[1]; }
    QPushButton *syncingButton() const { return m_pageButtons[2]; }
    QCheckBox *showCommentWithQuestionCheckBox() const { return m_showCommentWithQuestion; }
    QComboBox *tagsKeyboardSwitchPopUp() const { return m_tagsKeyboard; }
    QComboBox *commentKeyboardSwitchPopUp() const { return m_commentKeyboard; }
    QCheckBox *sendStatisticsCheckBox() const { return m_sendStatistics; }
    // The theme's buttons by index: black, blue, purple, green, red, violet.
    QLXColorButton *colorButton(qint64 index) const { return m_colorButtons[index]; }
    QTableView *vocabulariesTableView() const { return m_table; }
    QPushButton *plusButton() const { return m_plusButton; }
    QPushButton *minusButton() const { return m_minusButton; }
    QPushButton *editShowButton() const { return m_editShowButton; }
    QLXLanguageSheet *editLangPanel() const { return m_sheet; }
    QRadioButton *enableDropboxButton() const { return m_syncOnButton; }
    QRadioButton *disableDropboxButton() const { return m_syncOffButton; }
    QPlainTextEdit *syncStatusTextView() const { return m_syncStatusText; }
    QPushButton *dbGetIosAppButton() const { return m_getAppButton; }

    // Waits until the vocabularies handed to other threads are read and saved, and lets their
    // results reach the pages (tests and benchmarks).
    void finishPendingWork();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *makeSideBar();
    QWidget *makeGeneralPage();
    QWidget *makeLanguagesPage();
    QWidget *makeSyncingPage();
    void selectPage(int page);

    void setshowCommentWithQuestion();
    void setSwitchKeyboardTags();
    void setSwitchKeyboardComment();
    void setSendStatistics();
    void enableDropbox();
    void visitiPhoneWebsite();

    void tableViewSelectionDidChange();
    void deselectAll();
    void closeEditLangPanel();
    void didSaveSheet(const lexi::Result<QString> &saved);
    void requestSync();
    bool isSyncEnabled() const;
    QString inputSourceName(const std::optional<QString> &identifier) const;

    const Environment m_environment;
    QLXPreferencesDelegate *m_delegate = nullptr;
    lexi::LanguageEditor m_editor;
    lexi::UsageStatisticsChoice m_statistics;

    QHash<QString, lexi::VocabularySummary> m_summaries;
    std::optional<QLXFile> m_selectedVocabularyFile;
    QList<lexi::InputSource> m_inputSources;
    lexi::dispatch::DelayedBlock m_addSheetLater;

    QLXBookmarkView *m_bookmarkView = nullptr;
    QPushButton *m_pageButtons[3] = {};
    QStackedWidget *m_tabView = nullptr;
    QList<QLabel *> m_localizedLabels;

    QCheckBox *m_showCommentWithQuestion = nullptr;
    QComboBox *m_tagsKeyboard = nullptr;
    QComboBox *m_commentKeyboard = nullptr;
    QCheckBox *m_sendStatistics = nullptr;
    QLXColorButton *m_colorButtons[6] = {};

    lexi::VocabulariesTableModel *m_tableModel = nullptr;
    QTableView *m_table = nullptr;
    QPushButton *m_plusButton = nullptr;
    QPushButton *m_minusButton = nullptr;
    QPushButton *m_editShowButton = nullptr;
    QLXLanguageSheet *m_sheet = nullptr;
    QFileSystemWatcher *m_folderWatcher = nullptr;

    QButtonGroup *m_syncChoice = nullptr;
    QRadioButton *m_syncOnButton = nullptr;
    QRadioButton *m_syncOffButton = nullptr;
    QLabel *m_syncStatusLabel = nullptr;
    QPlainTextEdit *m_syncStatusText = nullptr;
    QPushButton *m_getAppButton = nullptr;

    lexi::VocabularySummaryCache m_summaryCache;
    // Last, so that a save under way finishes while everything it reports to still exists.
    lexi::dispatch::SerialQueue m_saveQueue{"lexicarta.preferences-save"};
};
