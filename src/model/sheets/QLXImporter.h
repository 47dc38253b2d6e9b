#pragma once

#include "BusySheet.h"
#include "SheetWorker.h"
#include "TextImportPanel.h"
#include "VocabularyFileImportPanel.h"

#include "model/ImportFileFormat.h"
#include "model/QLXStorageManager.h"
#include "model/TextImport.h"
#include "model/VocabularyFileImport.h"

#include <QObject>

#include <memory>
#include <optional>

class Lexicarta;
class QLXImporterDelegate;

namespace lexi {
class AlertPresenter;
class ApplicationFolders;
class Defaults;
class FileChooser;
class SyncRequests;

// What the import takes from the installation; each must outlive the importer.
struct ImportServices
{
    FileChooser &files;
    AlertPresenter &alerts;
    QLXStorageManager &storage;
    const ApplicationFolders &folders;
    Defaults &defaults;
    SyncRequests &sync;
};
} // namespace lexi

// The import: an open panel picks a file, which is read off the main thread while a busy sheet
// shows (the learner can cancel it). Comma- or tab-separated text is previewed in a panel where
// the columns can be swapped, then its new words go into the open vocabulary; a vocabulary file
// (recognised by its first bytes) becomes a new language, saved as a file of its own and marked
// for the next synchronisation, or joins the open vocabulary. The delegate hears importDidEnd
// exactly once per import; the importer itself neither saves the open vocabulary nor
// synchronises. Main thread.
class QLXImporter : public QObject
{
    Q_OBJECT

public:
    // The panels attach to the delegate's main window, which must exist already.
    QLXImporter(QLXImporterDelegate *delegate, lexi::ImportServices services, QObject *parent = nullptr);

    // Runs the open panel for an import into `vocabulary`. Every panel and sheet of the import is
    // modal, so no synchronisation replaces the vocabulary while it is imported into.
    void showOpenSheetWithVocabulary(std::shared_ptr<Lexicarta> vocabulary, QLXImporterDelegate *delegate);
    // The open panel's answer: reads the chosen file and shows the matching panel.
    void didEndOpenSheet(const std::optional<QString> &path);

    void updateCSVPreview();
    // The direction pop-up: row 1 reads the columns swapped, row 0 as they are.
    void changeDirection(int row);
    void importCSV();
    void cancelCSV();
    void importTBF();
    void cancelTBF();

    QLXImporterDelegate *delegate() const { return m_delegate; }
    bool invertImportDirection() const { return m_invertImportDirection; }
    const std::optional<QString> &importURL() const { return m_importURL; }
    lexi::TextImportPanel *textPanel() const { return m_textPanel; }
    lexi::VocabularyFileImportPanel *vocabularyPanel() const { return m_vocabularyPanel; }
    lexi::BusySheet *busySheet() const { return m_busy; }
    // Waits for the work running off the main thread and takes its result: for tests.
    void finishPendingWork() { m_worker.finishPendingWork(); }

private:
    // What reading the chosen file gave.
    struct ReadFile
    {
        lexi::ImportFileFormat format = lexi::ImportFileFormat::text;
        QLXStorageManager::Loaded loaded;
        std::optional<lexi::TextImport> text;
    };

    void localize();
    void didReadFile(ReadFile read);
    void showTextPanel(lexi::TextImport import);
    void showVocabularyPanel(std::shared_ptr<Lexicarta> imported);
    void joinImportedVocabulary(bool markAllAsUnknown);
    // The learner is told why the name cannot be taken and goes back to the name field.
    void refuseName(const lexi::Alert &alert);
    void askWhetherToAddWords(const lexi::LanguageNames &names, bool markAllAsUnknown);
    void saveAsNewLanguage(const lexi::LanguageNames &names, bool markAllAsUnknown);
    void didSaveNewLanguage(const lexi::LanguageNames &names, const std::optional<lexi::Alert> &failure);
    void focusNameField();
    void importDidEnd();

    QLXImporterDelegate *m_delegate;
    lexi::ImportServices m_services;
    std::shared_ptr<Lexicarta> m_vocabulary;
    std::optional<QString> m_importURL;
    std::optional<lexi::TextImport> m_importedCSVWords;
    std::shared_ptr<Lexicarta> m_importedVocabulary;
    bool m_invertImportDirection = false;
    bool m_isImporting = false;
    lexi::TextImportPanel *m_textPanel;
    lexi::VocabularyFileImportPanel *m_vocabularyPanel;
    lexi::BusySheet *m_busy;
    lexi::SheetWorker m_worker{this};
};
