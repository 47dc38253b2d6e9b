#include "LanguageEditor.h"

#include "model/Lexicarta.h"
#include "model/QLXFile.h"
#include "model/QLXStorageManager.h"
#include "model/VocabularyFileName.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/RegularFile.h"
#include "platform/files/Settings.h"
#include "platform/values/Format.h"
#include "platform/files/StringTables.h"
#include "sync/DropBoxController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

const QString settingsTable = u"Settings"_s;

QString text(const QString &key)
{
    return StringTables::text(key, settingsTable);
}

} // namespace

LanguageEditor::LanguageEditor(Environment environment) : m_environment(environment) {}

std::optional<LanguageNames> LanguageEditor::checkSheet(const LanguageSheetContent &content) const
{
    const LanguageNames names = languageNamesFromFields(content.foreignName, content.yourName);
    if (const auto problem = problemWithLanguageNames(names)) {
        if (*problem == LanguageNamesProblem::sameNames)
            m_environment.alerts->runModal(
                {text(u"errorLangNameSameTitle"_s), text(u"errorLangNameSameMsg"_s), {u"OK"_s}, 0});
        else
            m_environment.alerts->runModal({text(u"errorLangNameUnusableTitle"_s),
                                            format(text(u"errorLangNameUnusableMsg"_s), names.displayName()),
                                            {u"OK"_s},
                                            0});
        return std::nullopt;
    }
    const QString fileName = *vocabularyFileNameForName(names.displayName());
    if (hasOtherVocabularyFile(m_environment.folders->vocabularyFolderPath(), fileName,
                               content.isAdding ? QString() : content.editedPath)) {
        m_environment.alerts->runModal({text(u"errorLangNameExistsTitle"_s),
                                        format(text(u"errorLangNameExistsMsg"_s), names.displayName()),
                                        {u"OK"_s},
                                        0});
        return std::nullopt;
    }
    return names;
}

Result<QString> LanguageEditor::saveSheet(const LanguageSheetContent &content, const LanguageNames &names) const
{
    QLXStorageManager &storage = *m_environment.storage;
    // The edited file as the program last saved it, not as it was before saves still waiting.
    storage.flushSaves();
    const std::shared_ptr<Lexicarta> vocabulary = content.isAdding
        ? Lexicarta::create(*m_environment.services)
        : storage.vocabularyFromFile(content.editedPath);
    if (!vocabulary)
        return Result<QString>::failure(u"could not load %1"_s.arg(content.editedPath));

    vocabulary->setForeignLanguageName(names.foreign);
    vocabulary->setYourLanguageName(names.your);
    vocabulary->setYourFacultativeWords(content.yourFacultativeWords);
    vocabulary->setForeignFacultativeWords(content.foreignFacultativeWords);
    vocabulary->setYourTextInputSourceId(
        chosenSourceId(content.sources, content.yourKeyboard, vocabulary->yourTextInputSourceId()));
    vocabulary->setForeignTextInputSourceId(
        chosenSourceId(content.sources, content.foreignKeyboard, vocabulary->foreignTextInputSourceId()));
    vocabulary->setIsAutoSelectInputSource(content.isAutoSelectInputSource);
    // The other installations take the changes only from a version marked as changed.
    vocabulary->setNeedsSync(true);

    const std::optional<QString> savePath = storage.savePathForVocabulary(*vocabulary);
    // Written before the old file goes, whichever thread this runs on.
    if (!savePath || !storage.saveVocabularyToQLXVFile(vocabulary.get(), *savePath))
        return Result<QString>::failure(u"could not save %1"_s.arg(names.displayName()));
    setDeletedFlag(names.displayName(), false);
    if (m_environment.sync)
        m_environment.sync->markFileAsNeedsSync(*vocabulary);

    if (!content.isAdding && content.editedPath != *savePath && !isSameFile(content.editedPath, *savePath)) {
        // A name that changed only in letter case is the same language: its cloud copy and
        // deleted flag stay as they are.
        if (QString::compare(content.editedPath, *savePath, Qt::CaseInsensitive) != 0) {
            const QString oldName = QFileInfo(content.editedPath).completeBaseName();
            setDeletedFlag(oldName, true);
            if (m_environment.sync)
                m_environment.sync->deleteLanguageWithName(oldName);
        }
        QFile::remove(content.editedPath);
    }
    return *savePath;
}

LanguageEditor::Removal LanguageEditor::removeLanguage(const QLXFile &file) const
{
    const QString name = file.fileName();
    const bool syncing = isSyncEnabled();
    enum { cancelButton, deleteButton, deleteEverywhereButton };
    QStringList buttons{text(u"cancel"_s), text(u"Delete"_s)};
    if (syncing)
        buttons.append(text(u"deleteOnDb"_s));
    const int choice = m_environment.alerts->runModal(
        {text(u"reallyDelete"_s), format(text(u"reallyDeleteMsg"_s), name, name), buttons, cancelButton});
    if (choice != deleteButton && !(syncing && choice == deleteEverywhereButton))
        return Removal::cancelled;

    setDeletedFlag(name, true);
    // A save still waiting would bring the file back.
    m_environment.storage->flushSaves();
    QFile::remove(file.filePath());
    if (choice == deleteEverywhereButton) {
        m_environment.sync->deleteLanguageWithName(name);
        m_environment.sync->syncWithDropbox();
    }
    return Removal::deleted;
}

void LanguageEditor::showCouldNotSave() const
{
    m_environment.alerts->runModal(
        {u"Could not save"_s, u"An error occurred when saving the changes."_s, {u"OK"_s}, 0});
}

bool LanguageEditor::isDeletedFlagSet(const QString &displayName) const
{
    return Settings(*m_environment.defaults).isLanguageDeleted(displayName);
}

void LanguageEditor::setDeletedFlag(const QString &displayName, bool deleted) const
{
    Settings(*m_environment.defaults).setLanguageDeleted(displayName, deleted);
}

bool LanguageEditor::isSyncEnabled() const
{
    return m_environment.sync && m_environment.sync->isEnabled();
}

} // namespace lexi
