#include "QLXExportController.h"

#include "QLXExporterDelegate.h"

#include "model/Lexicarta.h"
#include "platform/files/StringTables.h"
#include "platform/linux/LocaleName.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Console.h"
#include "platform/ports/FileChooser.h"
#include "platform/values/Format.h"
#include "views/QLXLanguageTokenField.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

const QString importTable = u"Import"_s;

QString text(const QString &key)
{
    return lexi::StringTables::text(key, importTable);
}

// The save panel of each format: its extensions (the first proposed) and its title.
struct SavePanelOfFormat
{
    QStringList extensions;
    QString title;
};

SavePanelOfFormat savePanelOf(lexi::ExportFormat format)
{
    switch (format) {
    case lexi::ExportFormat::ownFormat:
        return {{u"qlxv"_s}, u"Export"_s};
    case lexi::ExportFormat::olderArchive:
        return {{u"tbf"_s}, u"Export"_s};
    case lexi::ExportFormat::text:
        return {{u"csv"_s, u"txt"_s}, u"Select Export"_s};
    }
    return {};
}

} // namespace

QLXExportController::QLXExportController(QLXExporterDelegate *delegate, lexi::ExportServices services,
                                         QObject *parent)
    : QObject(parent), m_delegate(delegate), m_services(services),
      m_sheet(new lexi::ExportSheet(delegate->mainWindow())), m_busy(new lexi::BusySheet(delegate->mainWindow()))
{
    connect(m_sheet->exportButton(), &QPushButton::clicked, this, &QLXExportController::exportVocabulary);
    connect(m_sheet, &QDialog::rejected, this, &QLXExportController::exportDidEnd);
    connect(m_busy, &lexi::BusySheet::cancelled, this, [this] {
        m_worker.cancel();
        exportDidEnd();
    });
    m_sheet->tagField()->setCompletionProvider([this](const QString &prefix) {
        if (!m_vocabulary)
            return QStringList();
        return m_vocabulary->completionTagsForPrefix(prefix).value_or(QStringList());
    });
    localize();
}

void QLXExportController::localize()
{
    const std::array<QString, lexi::ExportSheet::pageCount> tabs = {u"lexicartaTab"_s, u"trobbelfinTab"_s,
                                                                     u"csvTab"_s};
    const std::array<QString, lexi::ExportSheet::pageCount> infos = {u"lexicartaInfo"_s, u"trobbelfinInfo"_s,
                                                                      u"csvInfo"_s};
    for (int page = 0; page < lexi::ExportSheet::pageCount; ++page) {
        m_sheet->formats()->setTabText(page, text(tabs[page]));
        m_sheet->infoLabel(lexi::ExportSheet::Page(page))->setText(text(infos[page]));
    }
    m_sheet->commaRow()->setText(text(u"commaSeparated"_s));
    m_sheet->tabRow()->setText(text(u"tabSeparated"_s));
    m_sheet->includeComments()->setText(text(u"includeComments"_s));
    m_sheet->includeDifficulty()->setText(text(u"includeDifficulty"_s));
    const std::array<QString, 6> levels = {u"unknown"_s, u"ultraShort"_s, u"short"_s,
                                           u"interim"_s, u"long"_s,       u"vault"_s};
    for (int level = 0; level < 6; ++level)
        m_sheet->levelBox(level)->setText(text(levels[level]));
    m_sheet->tagLabel()->setText(text(u"tags"_s));
    m_sheet->allRow()->setText(text(u"all"_s));
    m_sheet->anyRow()->setText(text(u"any"_s));
    m_sheet->exportButton()->setText(text(u"export"_s));
    m_sheet->cancelButton()->setText(text(u"cancel"_s));
    m_sheet->filterBox()->setTitle(text(u"wordsToExport"_s));
    m_sheet->setWindowTitle(u"Export"_s);
}

void QLXExportController::showExportWithVocabulary(std::shared_ptr<Lexicarta> vocabulary)
{
    if (!vocabulary || m_isExporting)
        return;
    m_isExporting = true;
    m_vocabulary = std::move(vocabulary);
    m_sheet->formats()->setCurrentIndex(lexi::ExportSheet::ownFormatPage);
    const QString your =
        m_vocabulary->yourLanguageName().isEmpty() ? lexi::selectedLocaleName() : m_vocabulary->yourLanguageName();
    const QString &foreign = m_vocabulary->foreignLanguageName();
    m_sheet->directionRow(0)->setText(u"%1 - %2"_s.arg(your, foreign));
    m_sheet->directionRow(1)->setText(u"%1 - %2"_s.arg(foreign, your));
    m_sheet->directionRow(0)->setChecked(true);
    m_sheet->tagField()->setTokens({lexi::StringTables::text(u"all"_s)});
    m_sheet->exportButton()->setFocus();
    m_sheet->open();
}

void QLXExportController::exportVocabulary()
{
    switch (m_sheet->formats()->currentIndex()) {
    case lexi::ExportSheet::ownFormatPage:
        exportQLX();
        break;
    case lexi::ExportSheet::olderArchivePage:
        exportTBF();
        break;
    default:
        exportCSV();
        break;
    }
}

void QLXExportController::exportQLX()
{
    runSavePanel(lexi::ExportFormat::ownFormat);
}

void QLXExportController::exportTBF()
{
    runSavePanel(lexi::ExportFormat::olderArchive);
}

void QLXExportController::exportCSV()
{
    m_textOptions = textOptions();
    runSavePanel(lexi::ExportFormat::text);
}

lexi::TextExportOptions QLXExportController::textOptions() const
{
    return {m_sheet->commaRow()->isChecked(), m_sheet->includeComments()->isChecked(),
            m_sheet->includeDifficulty()->isChecked(), m_sheet->directionRow(0)->isChecked()};
}

void QLXExportController::cancel()
{
    m_sheet->reject();
}

void QLXExportController::runSavePanel(lexi::ExportFormat format)
{
    if (m_sheet->isVisible())
        m_sheet->accept();
    const SavePanelOfFormat panel = savePanelOf(format);
    m_services.files.chooseFileToSave(
        {panel.title, text(u"Save"_s), QString(), panel.extensions,
         m_vocabulary->foreignLanguageName() + u'.' + panel.extensions.first()},
        this, [this, format](const std::optional<QString> &path) { savePanelDidEnd(format, path); });
}

void QLXExportController::savePanelDidEnd(lexi::ExportFormat format, const std::optional<QString> &path)
{
    if (!path) {
        exportDidEnd();
        return;
    }
    if (lexi::isInProgramFolders(*path, m_services.folders)) {
        refuseTarget(format, *path);
        return;
    }
    write(format, *path);
}

void QLXExportController::refuseTarget(lexi::ExportFormat format, const QString &path)
{
    m_services.alerts.open({text(u"exportRefusedTitle"_s),
                            lexi::format(text(u"exportRefusedMsg"_s), QFileInfo(path).absolutePath()),
                            {text(u"OK"_s)},
                            0},
                           this, [this, format](int) { runSavePanel(format); });
}

void QLXExportController::write(lexi::ExportFormat format, const QString &path)
{
    auto copy = std::make_shared<lexi::ExportCopy>(filteredVocabulary());
    lexi::Console::writeLine(u"exporter > filterdvoc %1"_s.arg(m_vocabulary->foreignLanguageName()));
    m_busy->start(lexi::format(text(u"exportingFile"_s), QFileInfo(path).fileName()));
    // The copy is held by the job, which the worker drops once the result is on its way: the
    // learner does not wait for its words to go.
    m_busy->follow(m_worker.start<lexi::ExportResult>(
        [copy, taken = std::make_shared<std::shared_ptr<Lexicarta>>(), path, format,
         options = m_textOptions](const std::atomic<bool> &cancelled, lexi::WorkProgress &progress) {
            *taken = std::move(*copy).take();
            return lexi::writeExport(**taken, path, format, options, cancelled, &progress);
        },
        [this](const lexi::ExportResult &result) { didWrite(result); }));
}

void QLXExportController::didWrite(const lexi::ExportResult &result)
{
    m_busy->finish();
    lexi::Console::writeLine(result.written ? u"exporter > saving vocabulary successful"_s
                                            : u"exporter > saving vocabulary failed"_s);
    if (result.failure)
        m_services.alerts.open(*result.failure, this, [this](int) { exportDidEnd(); });
    else
        exportDidEnd();
}

lexi::ExportCopy QLXExportController::filteredVocabulary() const
{
    lexi::ExportSelection selection;
    for (int level = 0; level < int(selection.levels.size()); ++level)
        selection.levels[level] = m_sheet->levelBox(level)->isChecked();
    selection.tags = m_sheet->tagField()->tokens();
    selection.mustHaveAll = m_sheet->allRow()->isChecked();
    return lexi::ExportCopy(*m_vocabulary, selection);
}

void QLXExportController::exportDidEnd()
{
    if (!m_isExporting)
        return;
    m_isExporting = false;
    m_vocabulary.reset();
    m_delegate->exportDidEnd(this);
}
