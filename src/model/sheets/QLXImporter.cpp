#include "QLXImporter.h"

#include "QLXImporterDelegate.h"

#include "model/Lexicarta.h"
#include "model/SyncRequests.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "platform/linux/LocaleName.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Console.h"
#include "platform/ports/FileChooser.h"
#include "platform/values/Format.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

const QString importTable = u"Import"_s;

QString text(const QString &key)
{
    return lexi::StringTables::text(key, importTable);
}

QString settingsText(const QString &key)
{
    return lexi::StringTables::text(key, u"Settings"_s);
}

void writeCount(const lexi::ImportCount &count)
{
    lexi::Console::writeLine(u"import > added %1 words, %2 were there already"_s.arg(count.added).arg(count.alreadyThere));
}

} // namespace

QLXImporter::QLXImporter(QLXImporterDelegate *delegate, lexi::ImportServices services, QObject *parent)
    : QObject(parent), m_delegate(delegate), m_services(services),
      m_textPanel(new lexi::TextImportPanel(delegate->mainWindow())),
      m_vocabularyPanel(new lexi::VocabularyFileImportPanel(delegate->mainWindow())),
      m_busy(new lexi::BusySheet(delegate->mainWindow()))
{
    lexi::Console::writeLine(u"import > init"_s);
    connect(m_textPanel->importButton(), &QPushButton::clicked, this, &QLXImporter::importCSV);
    connect(m_textPanel, &QDialog::rejected, this, &QLXImporter::importDidEnd);
    connect(m_textPanel->directionPopUp(), &QComboBox::activated, this, &QLXImporter::changeDirection);
    connect(m_vocabularyPanel->importButton(), &QPushButton::clicked, this, &QLXImporter::importTBF);
    connect(m_vocabularyPanel, &QDialog::rejected, this, &QLXImporter::importDidEnd);
    connect(m_busy, &lexi::BusySheet::cancelled, this, [this] {
        m_worker.cancel();
        importDidEnd();
    });
    localize();
    lexi::Console::writeLine(u"import > awakeFromNib"_s);
}

void QLXImporter::localize()
{
    m_textPanel->setWindowTitle(text(u"importTextTitle"_s));
    m_textPanel->importButton()->setText(text(u"import"_s));
    m_textPanel->cancelButton()->setText(text(u"cancel"_s));
    m_vocabularyPanel->setWindowTitle(text(u"importVocabularyTitle"_s));
    m_vocabularyPanel->newLanguageRow()->setText(text(u"newLanguageNamed"_s));
    m_vocabularyPanel->markAllAsUnknown()->setText(text(u"markAllAsUnknown"_s));
    m_vocabularyPanel->importButton()->setText(text(u"import"_s));
    m_vocabularyPanel->cancelButton()->setText(text(u"cancel"_s));
}

void QLXImporter::showOpenSheetWithVocabulary(std::shared_ptr<Lexicarta> vocabulary, QLXImporterDelegate *delegate)
{
    if (!vocabulary || m_isImporting)
        return;
    m_isImporting = true;
    m_vocabulary = std::move(vocabulary);
    m_delegate = delegate;
    m_services.files.chooseFileToOpen({u"Import"_s, u"Import"_s, text(u"openPanelInfoMsg"_s),
                                       {u"txt"_s, u"csv"_s, u"tbf"_s, u"qlxv"_s}, QString()},
                                      this, [this](const std::optional<QString> &path) { didEndOpenSheet(path); });
}

void QLXImporter::didEndOpenSheet(const std::optional<QString> &path)
{
    if (!path) {
        importDidEnd();
        return;
    }
    m_importURL = path;
    m_busy->start(lexi::format(text(u"readingFile"_s), QFileInfo(*path).fileName()));
    m_busy->follow(m_worker.start<ReadFile>(
        [path = *path, invert = m_invertImportDirection,
         &storage = m_services.storage](const std::atomic<bool> &, lexi::WorkProgress &progress) {
            ReadFile read;
            read.format = lexi::importFileFormat(path);
            switch (read.format) {
            case lexi::ImportFileFormat::ownFormat:
                read.loaded = storage.loadQLXVFile(path, &progress);
                break;
            case lexi::ImportFileFormat::olderArchive:
                read.loaded = storage.loadTBFFile(path);
                break;
            case lexi::ImportFileFormat::text:
                read.text = lexi::TextImport::read(path, invert, &progress);
                break;
            }
            return read;
        },
        [this](ReadFile read) { didReadFile(std::move(read)); }));
}

void QLXImporter::didReadFile(ReadFile read)
{
    m_busy->finish();
    if (read.format == lexi::ImportFileFormat::text) {
        if (const std::optional<QString> &failure = read.text->failure()) {
            m_services.alerts.open({text(u"alertUnreadableTitle"_s),
                                    lexi::format(text(u"alertUnreadableMsg"_s), QFileInfo(*m_importURL).fileName(),
                                                 *failure),
                                    {text(u"OK"_s)},
                                    0},
                                   this, [this](int) { importDidEnd(); });
            return;
        }
        showTextPanel(std::move(*read.text));
        return;
    }
    if (read.loaded.failure)
        m_services.storage.showLoadFailure(*read.loaded.failure);
    if (!read.loaded.vocabulary) {
        importDidEnd();
        return;
    }
    showVocabularyPanel(std::move(read.loaded.vocabulary));
}

void QLXImporter::showTextPanel(lexi::TextImport import)
{
    m_importedCSVWords = std::move(import);
    QComboBox *popUp = m_textPanel->directionPopUp();
    popUp->clear();
    popUp->addItem(u"%1 - %2"_s.arg(m_vocabulary->foreignLanguageName(), m_vocabulary->yourLanguageName()));
    popUp->addItem(u"%1 - %2"_s.arg(m_vocabulary->yourLanguageName(), m_vocabulary->foreignLanguageName()));
    popUp->setCurrentIndex(m_invertImportDirection ? 1 : 0);
    updateCSVPreview();
    m_textPanel->importButton()->setFocus();
    m_textPanel->open();
}

void QLXImporter::updateCSVPreview()
{
    m_textPanel->foreignName()->setText(m_vocabulary->foreignLanguageName());
    m_textPanel->yourName()->setText(m_vocabulary->yourLanguageName());
    m_textPanel->foreignPreview()->setText(m_importedCSVWords->foreignPreview());
    m_textPanel->yourPreview()->setText(m_importedCSVWords->yourPreview());
}

void QLXImporter::changeDirection(int row)
{
    m_invertImportDirection = row == 1;
    m_importedCSVWords->setInvertDirection(m_invertImportDirection);
    updateCSVPreview();
}

void QLXImporter::importCSV()
{
    // The words to add are chosen and numbered, and the vocabulary's derived data grown by them,
    // off the main thread; the main thread then only takes them in.
    struct Chosen
    {
        std::shared_ptr<lexi::TextImport> import;
        std::shared_ptr<Lexicarta::PreparedAddition> addition;
        lexi::ImportCount count;
    };
    auto import = std::make_shared<lexi::TextImport>(*m_importedCSVWords);
    auto addition = std::make_shared<Lexicarta::PreparedAddition>(m_vocabulary->prepareAddition());
    m_textPanel->accept();
    m_busy->start(lexi::format(text(u"addingWords"_s), QFileInfo(*m_importURL).fileName()));
    m_busy->follow(m_worker.start<Chosen>(
        [import, addition](const std::atomic<bool> &cancelled, lexi::WorkProgress &) {
            if (cancelled)
                return Chosen{};
            return Chosen{import, addition, import->chooseNewWords(*addition)};
        },
        [this](Chosen chosen) {
            m_busy->finish();
            // Changed meanwhile: chosen anew here.
            if (!m_vocabulary->addPrepared(std::move(*chosen.addition)))
                chosen.count = chosen.import->addNewWordsTo(*m_vocabulary);
            writeCount(chosen.count);
            importDidEnd();
        }));
}

void QLXImporter::cancelCSV()
{
    m_textPanel->reject();
}

void QLXImporter::showVocabularyPanel(std::shared_ptr<Lexicarta> imported)
{
    m_importedVocabulary = std::move(imported);
    m_vocabularyPanel->nameField()->setText(m_importedVocabulary->foreignLanguageName());
    m_vocabularyPanel->joinRow()->setText(
        lexi::format(text(u"joinWordsWithVocabulary"_s), m_vocabulary->foreignLanguageName()));
    m_vocabularyPanel->newLanguageRow()->setChecked(true);
    m_vocabularyPanel->importButton()->setFocus();
    m_vocabularyPanel->open();
}

void QLXImporter::importTBF()
{
    const bool mark = m_vocabularyPanel->markAllAsUnknown()->isChecked();
    if (m_vocabularyPanel->joinRow()->isChecked()) {
        joinImportedVocabulary(mark);
        return;
    }
    const lexi::LanguageNames names = lexi::VocabularyFileImport::newLanguageNames(
        m_vocabularyPanel->nameField()->text(), lexi::selectedLocaleName());
    using Problem = lexi::VocabularyFileImport::NameProblem;
    const std::optional<Problem> problem = lexi::VocabularyFileImport::problemWithNewLanguage(
        names, m_services.folders.vocabularyFolderPath());
    if (!problem) {
        saveAsNewLanguage(names, mark);
        return;
    }
    switch (*problem) {
    case Problem::sameNames:
        refuseName({settingsText(u"errorLangNameSameTitle"_s), settingsText(u"errorLangNameSameMsg"_s),
                    {text(u"OK"_s)}, 0});
        break;
    case Problem::unusableName:
        refuseName({settingsText(u"errorLangNameUnusableTitle"_s),
                    lexi::format(settingsText(u"errorLangNameUnusableMsg"_s), names.displayName()),
                    {text(u"OK"_s)},
                    0});
        break;
    case Problem::exists:
        askWhetherToAddWords(names, mark);
        break;
    }
}

void QLXImporter::cancelTBF()
{
    m_vocabularyPanel->reject();
}

void QLXImporter::joinImportedVocabulary(bool markAllAsUnknown)
{
    // As for text, the words to join are chosen off the main thread.
    struct Chosen
    {
        std::shared_ptr<Lexicarta::PreparedAddition> addition;
        lexi::ImportCount count;
    };
    auto addition = std::make_shared<Lexicarta::PreparedAddition>(m_vocabulary->prepareAddition());
    m_vocabularyPanel->accept();
    m_busy->start(lexi::format(text(u"addingWords"_s), QFileInfo(*m_importURL).fileName()));
    m_busy->follow(m_worker.start<Chosen>(
        [imported = m_importedVocabulary, addition, markAllAsUnknown](const std::atomic<bool> &cancelled,
                                                                      lexi::WorkProgress &) {
            if (cancelled)
                return Chosen{};
            return Chosen{addition, lexi::VocabularyFileImport(imported).chooseWordsToJoin(*addition, markAllAsUnknown)};
        },
        [this, markAllAsUnknown](Chosen chosen) {
            m_busy->finish();
            if (!m_vocabulary->addPrepared(std::move(*chosen.addition)))
                chosen.count =
                    lexi::VocabularyFileImport(m_importedVocabulary).joinInto(*m_vocabulary, markAllAsUnknown);
            writeCount(chosen.count);
            importDidEnd();
        }));
}

void QLXImporter::refuseName(const lexi::Alert &alert)
{
    m_services.alerts.open(alert, this, [this](int) { focusNameField(); });
}

void QLXImporter::askWhetherToAddWords(const lexi::LanguageNames &names, bool markAllAsUnknown)
{
    enum { changeName, addWords, cancelImport };
    m_services.alerts.open(
        {text(u"alertAlreadyExistsTitle"_s),
         lexi::format(text(u"alertAlreadyExistsMsg"_s), names.displayName(), m_vocabulary->foreignLanguageName()),
         {text(u"changeName"_s), text(u"addWords"_s), text(u"cancelImport"_s)},
         cancelImport},
        this, [this, markAllAsUnknown](int button) {
            if (button == changeName) {
                focusNameField();
                return;
            }
            if (button == addWords) {
                joinImportedVocabulary(markAllAsUnknown);
                return;
            }
            cancelTBF();
        });
}

void QLXImporter::saveAsNewLanguage(const lexi::LanguageNames &names, bool markAllAsUnknown)
{
    const QString path = *m_services.storage.saveUrlForVocabularyWithName(names.displayName());
    m_vocabularyPanel->accept();
    m_busy->start(lexi::format(text(u"savingLanguage"_s), names.displayName()));
    m_busy->follow(m_worker.start<std::optional<lexi::Alert>>(
        [imported = m_importedVocabulary, names, markAllAsUnknown, path,
         &storage = m_services.storage](const std::atomic<bool> &cancelled,
                                        lexi::WorkProgress &) -> std::optional<lexi::Alert> {
            lexi::VocabularyFileImport(imported).makeNewLanguage(names, markAllAsUnknown);
            if (cancelled)
                return std::nullopt;
            return storage.writeVocabularyToQLXVFile(*imported, path);
        },
        [this, names](const std::optional<lexi::Alert> &failure) { didSaveNewLanguage(names, failure); }));
}

void QLXImporter::didSaveNewLanguage(const lexi::LanguageNames &names, const std::optional<lexi::Alert> &failure)
{
    m_busy->finish();
    if (failure) {
        m_services.alerts.open(*failure, this, [this](int) { importDidEnd(); });
        return;
    }
    // A vocabulary of that name deleted here before must not keep the new one from the cloud.
    lexi::Settings(m_services.defaults).setLanguageDeleted(names.displayName(), false);
    m_services.sync.markFileAsNeedsSync(*m_importedVocabulary);
    lexi::Console::writeLine(u"import > saved the new language %1"_s.arg(names.displayName()));
    importDidEnd();
}

void QLXImporter::focusNameField()
{
    m_vocabularyPanel->nameField()->setFocus();
    m_vocabularyPanel->nameField()->selectAll();
}

void QLXImporter::importDidEnd()
{
    if (!m_isImporting)
        return;
    m_isImporting = false;
    m_vocabulary.reset();
    m_delegate->importDidEnd(this);
}
