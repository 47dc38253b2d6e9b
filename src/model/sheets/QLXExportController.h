#pragma once

#include "BusySheet.h"
#include "ExportSheet.h"
#include "SheetWorker.h"

#include "model/ExportCopy.h"
#include "model/VocabularyExport.h"

#include <QObject>

#include <memory>
#include <optional>

class Lexicarta;
class QLXExporterDelegate;

namespace lexi {
class AlertPresenter;
class ApplicationFolders;
class FileChooser;

// What the export sheet takes from the installation; each must outlive the controller.
struct ExportServices
{
    FileChooser &files;
    AlertPresenter &alerts;
    const ApplicationFolders &folders;
};
} // namespace lexi

// The export sheet: the learner picks one of three formats (the own vocabulary file, the older
// product's archive, comma- or tab-separated text), narrows the words by level and tags, sets the
// text options and chooses the file in a save panel. A filtered copy of the vocabulary, holding
// copies of its words, is written to it on a worker thread while a busy sheet shows; the learner
// can cancel it. The program's own folders are refused as targets. Main thread.
class QLXExportController : public QObject
{
    Q_OBJECT

public:
    // The sheet attaches to the delegate's main window, which must exist already.
    QLXExportController(QLXExporterDelegate *delegate, lexi::ExportServices services, QObject *parent = nullptr);

    // Shows the sheet on its first page with the tag field at "all"; the check boxes and choices
    // keep their states from the last showing. The sheet and everything it opens are modal, so
    // no synchronisation replaces `vocabulary` while it is exported.
    void showExportWithVocabulary(std::shared_ptr<Lexicarta> vocabulary);

    // The export button: the save panel of the chosen page's format.
    void exportVocabulary();
    void exportQLX();
    void exportTBF();
    void exportCSV();
    // The cancel button: closes the sheet and ends the export.
    void cancel();

    // The copy to be written: the chosen levels' words with the chosen tags (see lexi::ExportCopy).
    lexi::ExportCopy filteredVocabulary() const;
    // The text options as the sheet shows them.
    lexi::TextExportOptions textOptions() const;

    QLXExporterDelegate *delegate() const { return m_delegate; }
    const std::shared_ptr<Lexicarta> &vocabulary() const { return m_vocabulary; }
    lexi::ExportSheet *sheet() const { return m_sheet; }
    lexi::BusySheet *busySheet() const { return m_busy; }
    // Waits for the write running off the main thread and takes its result: for tests.
    void finishPendingWork() { m_worker.finishPendingWork(); }

private:
    void localize();
    // Closes the sheet and asks for the file to write in `format`.
    void runSavePanel(lexi::ExportFormat format);
    void savePanelDidEnd(lexi::ExportFormat format, const std::optional<QString> &path);
    void refuseTarget(lexi::ExportFormat format, const QString &path);
    void write(lexi::ExportFormat format, const QString &path);
    void didWrite(const lexi::ExportResult &result);
    void exportDidEnd();

    QLXExporterDelegate *m_delegate;
    lexi::ExportServices m_services;
    std::shared_ptr<Lexicarta> m_vocabulary;
    lexi::ExportSheet *m_sheet;
    lexi::BusySheet *m_busy;
    bool m_isExporting = false;
    lexi::TextExportOptions m_textOptions;
    lexi::SheetWorker m_worker{this};
};
