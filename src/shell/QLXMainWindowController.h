#pragma once

#include "MainWindowPages.h"
#include "QLXPreferencesDelegate.h"

#include "model/Lexicarta.h"
#include "model/QLXFile.h"
#include "model/sheets/QLXExporterDelegate.h"
#include "model/sheets/QLXImporterDelegate.h"
#include "model/sheets/SheetWorker.h"
#include "platform/dispatch/DelayedBlock.h"
#include "platform/files/AtomicFile.h"
#include "sync/DropboxControllerDelegate.h"

#include <QIcon>
#include <QKeySequence>
#include <QMainWindow>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class FirstStartPage;
class QAction;
class QComboBox;
class QLabel;
class QLXExportController;
class QLXHelpController;
class QLXImporter;
class QMenu;
class QStackedWidget;
class QToolBar;

namespace lexi {
class Installation;
class ModalWatch;
} // namespace lexi

// The main window: a toolbar of five tabs (vocabulary, quiz, flash-card service, statistics,
// settings) over one tab view, the language pop-up, the first-start page shown while no
// vocabulary exists, the menus and the entry to import and export. It opens the last used
// vocabulary at start-up, hands the current vocabulary to the pages, and hears from the
// synchronisation and the preferences.
class QLXMainWindowController : public QObject,
                                public DropboxControllerDelegate,
                                public QLXPreferencesDelegate,
                                public QLXImporterDelegate,
                                public QLXExporterDelegate
{
    Q_OBJECT

public:
    enum Tab { vocabularyTab, quizTab, quizletTab, statisticsTab, settingsTab, firstStartTab, tabCount };

    static constexpr int toolbarTabCount = 5;

    // `installation` and `modalWatch` and the pages must outlive the controller.
    QLXMainWindowController(lexi::Installation &installation, const lexi::MainWindowPages &pages,
                            lexi::ModalWatch &modalWatch, QObject *parent = nullptr);
    ~QLXMainWindowController() override;

    // Start-up: links the synchronisation, opens the last vocabulary or prepares the first-start
    // page, and localises.
    void awakeFromNib();
    // The "languageInfo" event, when the learner has opted in and a vocabulary is open.
    void applicationDidFinishLaunching();

    // The window, which the import and export sheets attach to.
    QMainWindow *mainWindow() const override { return m_mainWindow.get(); }
    QLXHelpController *helpController() const { return m_helpController; }
    bool isInFirstSetupMode() const { return m_isInFirstSetupMode; }
    Tab selectedTab() const;
    std::shared_ptr<Lexicarta> currentVocabulary() const;

    // Tab actions.
    void showVocabulary();
    void showQuiz();
    void showQuizlet();
    void showStatistics();
    void showPreferences();

    // The application was started again: refresh, synchronise, and bring the window forward.
    void updateViews();
    void doSync();

    void updateLanguagesPopup();
    // The action of the language pop-up: opens the vocabulary of the selected item.
    void selectLanguage();
    void deselectAllToolbarItems();
    // While the pop-up quiz runs: tab clicks and the language pop-up do nothing, and the buttons
    // and menu items that act on the vocabulary (add a word, import, export, delete duplicates,
    // show synonyms) are switched off.
    void disableAllToolbarItems();
    void enableAllToolbarItems();
    bool areToolbarItemsEnabled() const { return m_toolbarItemsEnabled; }
    void localize();

    // First start.
    void createFirstLanguageWithName(const QString &name);
    void setFirstLanguage();
    void firstLanguageTextChanged();
    void linkWithDropbox();
    void getStartedAfterSync();
    FirstStartPage *firstStartPage() const { return m_firstStartPage; }

    // The synchronisation.
    void dropboxControllerDidFinishSync() override;
    void dropboxControllerDidLinkSuccessfully() override;
    void dropboxControllerFailedToLink() override;
    // The program saved the file at `path` itself, leaving it with `stamp`: a synchronisation that
    // finds the current vocabulary's file so does not reload it. `isLatest`: no later save of it
    // was handed over, so the file holds every change made so far.
    void noteOwnSave(const QString &path, const lexi::FileStamp &stamp, bool isLatest);
    // Waits for the read of a file a synchronisation changed and takes it in: for tests, which
    // run no event loop.
    void finishSynchronisedFileRead();

    // The preferences.
    void preferencesDidChangeVocabularyAtPath(const QString &path) override;
    void preferencesDidDeleteVocabularyAtPath(const QString &path) override;

    // Import and export: the import sheet into the current vocabulary, and the export sheet of it
    // (made at its first use). After an import the vocabulary is marked, saved and synchronised.
    void importVocabulary();
    void exportVocabulary();
    void importDidEnd(QLXImporter *importer) override;
    void exportDidEnd(QLXExportController *exporter) override;
    QLXImporter *importer() const { return m_importer.get(); }
    QLXExportController *exporter() const { return m_exporter.get(); }
    QAction *importButton() const { return m_importButton; }
    QAction *exportButton() const { return m_exportButton; }
    QAction *importMenuItem() const { return m_importMenuItem; }
    QAction *exportMenuItem() const { return m_exportMenuItem; }

    // Menu actions.
    void addNewWord();
    void visitSupport();
    void goToAppSupportFolder();
    void showHelp();

    QComboBox *languagesPopUp() const { return m_languagesPopUp; }
    QAction *toolbarItem(Tab tab) const { return m_toolbarItems.at(tab); }
    QToolBar *toolbar() const { return m_toolbar; }
    // The menu item localised by `key` ("deleteDuplicateWords"); none for a key no item has.
    QAction *menuItem(const QString &key) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TabDescription
    {
        QString imageName;
        QString titleKey;
        void (QLXMainWindowController::*action)();
    };
    static const std::array<TabDescription, toolbarTabCount> &tabDescriptions();
    // A text of the main window's string table.
    static QString mainWindowText(const QString &key);

    void buildWindow();
    // The help overlay's notes stand beside the list's parts and the Get Words tab.
    void pointHelpNotesAtTheirParts();
    void buildMenus();
    QAction *addMenuAction(QMenu *menu, const QString &key, void (QLXMainWindowController::*action)(),
                           const QKeySequence &shortcut = {});
    // Runs a tab action when the toolbar items have their actions.
    void runTabAction(Tab tab);
    // The steps every tab switch ends with.
    void selectTab(Tab tab);
    void prepareFirstStartPage();
    // The first vocabulary of `candidates` that loads; nothing when none does.
    std::shared_ptr<Lexicarta> loadFirstOf(const QStringList &candidates) const;
    QList<QLXFile> filesYoungestFirst() const;
    // Shows the current vocabulary as the pop-up's selection, without selecting a language.
    void selectCurrentVocabularyInPopUp();
    void setCurrentVocabulary(std::shared_ptr<Lexicarta> vocabulary);
    void rememberLastActiveLanguage();
    std::optional<QString> currentSavePath() const;
    // The learner opted in to usage statistics.
    bool isUsageDataEnabled() const;
    // Runs `step` `delay` from now, once nothing modal is open.
    void after(std::chrono::milliseconds delay, std::function<void()> step);
    void showFirstSyncStartState();
    void setProgressRunning(bool running);
    void refuseLanguageName(const QString &name);
    // After a synchronisation changed the current vocabulary's file: reads it off the main
    // thread, then takes it in there once nothing modal is open and no quiz runs.
    struct SynchronisedFile;
    void readSynchronisedFile(const QString &path);
    // What a file read is to the open vocabulary now: nothing to take in, a damaged file to tell,
    // the vocabulary's replacement, out of date (to be read again), or a version to merge in.
    enum class SynchronisedFileStep { leave, refuse, replace, readAgain, merge };
    SynchronisedFileStep nextSynchronisedFileStep(const SynchronisedFile &file) const;
    // Merges the file read into a copy of the open vocabulary on the worker, then takes it in.
    void mergeSynchronisedFile(quint64 read, const SynchronisedFile &file);
    // Takes the file in once nothing modal is open and no quiz runs, unless a later read began or
    // another vocabulary was opened.
    void takeInSynchronisedFileWhenFree(quint64 read, const SynchronisedFile &file,
                                        const std::shared_ptr<Lexicarta::PreparedMerge> &merge);
    // Replaces the open vocabulary with the file read, or, when the vocabulary changed since
    // its file was saved, merges the file into it: `merge`, made on the worker, when nothing
    // changed since it began.
    void takeInSynchronisedFile(const SynchronisedFile &file, Lexicarta::PreparedMerge *merge);

    lexi::Installation &m_installation;
    lexi::MainWindowPages m_pages;
    lexi::ModalWatch &m_modalWatch;

    std::unique_ptr<QMainWindow> m_mainWindow;
    QLXHelpController *m_helpController = nullptr;
    QStackedWidget *m_mainTabView = nullptr;
    FirstStartPage *m_firstStartPage = nullptr;
    QToolBar *m_toolbar = nullptr;
    std::array<QAction *, toolbarTabCount> m_toolbarItems{};
    std::array<QIcon, toolbarTabCount> m_normalImages;
    std::array<QIcon, toolbarTabCount> m_selectedImages;
    QComboBox *m_languagesPopUp = nullptr;
    QLabel *m_languagesLabel = nullptr;
    QAction *m_importButton = nullptr;
    QAction *m_exportButton = nullptr;
    QAction *m_importMenuItem = nullptr;
    QAction *m_exportMenuItem = nullptr;
    std::unique_ptr<QLXImporter> m_importer;
    std::unique_ptr<QLXExportController> m_exporter;
    // What acts on the open vocabulary, switched off with the toolbar.
    QList<QAction *> m_vocabularyActions;
    // Menu and menu item texts by their localisation key.
    QList<std::pair<QString, QMenu *>> m_localizedMenus;
    QList<std::pair<QString, QAction *>> m_localizedActions;

    bool m_isInFirstSetupMode = false;
    bool m_toolbarItemsEnabled = true;
    // The current file's stamp when it was last read or saved by the program.
    std::optional<lexi::FileStamp> m_vocabularyStamp;
    // The open vocabulary changed since it was read, and its file does not hold every change yet.
    bool m_changedSinceSaved = false;
    std::vector<lexi::dispatch::DelayedBlock> m_delayedSteps;
    // How many reads of the current file were started: only the last one's result is taken in.
    quint64 m_synchronisedFileReads = 0;
    // Last: its thread ends, and drops what it read, before anything above goes.
    lexi::SheetWorker m_synchronisedFileReader{this};
};
