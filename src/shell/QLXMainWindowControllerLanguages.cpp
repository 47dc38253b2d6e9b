// The language pop-up: listing the vocabularies, switching to another, and the preferences' changes to them.
#include "QLXMainWindowController.h"

#include "Installation.h"

#include "model/AvailableLanguages.h"
#include "model/Lexicarta.h"
#include "platform/ports/Console.h"
#include "platform/files/StringTables.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

QList<QLXFile> QLXMainWindowController::filesYoungestFirst() const
{
    QList<QLXFile> files = lexi::loadAllAvailableLanguages(m_installation.folders());
    std::stable_sort(files.begin(), files.end(), [](const QLXFile &left, const QLXFile &right) {
        return left.compareModDatesFromYoungToOld(right) < 0;
    });
    return files;
}

void QLXMainWindowController::updateLanguagesPopup()
{
    const QSignalBlocker blocker(m_languagesPopUp);
    m_languagesPopUp->clear();
    for (const QLXFile &file : filesYoungestFirst())
        m_languagesPopUp->addItem(file.fileName());
    selectCurrentVocabularyInPopUp();
    m_languagesPopUp->insertSeparator(m_languagesPopUp->count());
    m_languagesPopUp->addItem(mainWindowText(u"Manage Languages..."_s));
}

void QLXMainWindowController::selectCurrentVocabularyInPopUp()
{
    if (const std::shared_ptr<Lexicarta> vocabulary = currentVocabulary()) {
        const QSignalBlocker blocker(m_languagesPopUp);
        m_languagesPopUp->setCurrentIndex(
            m_languagesPopUp->findText(QLXStorageManager::displayNameForVocabulary(*vocabulary), Qt::MatchExactly));
    }
}

void QLXMainWindowController::selectLanguage()
{
    const QString title = m_languagesPopUp->currentText();
    if (m_languagesPopUp->currentIndex() == m_languagesPopUp->count() - 1) {
        selectCurrentVocabularyInPopUp();
        showPreferences();
        m_pages.preferences->showLanguages();
        return;
    }
    const QList<QLXFile> files = filesYoungestFirst();
    const auto file = std::find_if(files.begin(), files.end(),
                                   [&](const QLXFile &candidate) { return candidate.fileName() == title; });
    if (file == files.end()) {
        lexi::Console::writeLine(u"VocController > selectLanguage > file not found"_s);
        return;
    }
    std::shared_ptr<Lexicarta> vocabulary = m_installation.storage().vocabularyFromFile(file->filePath());
    if (!vocabulary) {
        lexi::Console::writeLine(
            u"VocController > selectLanguage: The selected language '%1' could not be loaded.\n"
            u"Go to '%2' to restore from the last backup copy."_s.arg(title,
                                                                       m_installation.folders().backupFolderPath()));
        selectCurrentVocabularyInPopUp();
        return;
    }
    lexi::Console::writeLine(u"VocController > selectLanguage > has %1 words"_s.arg(vocabulary->countAllWords()));
    setCurrentVocabulary(vocabulary);
    if (selectedTab() == quizTab)
        showQuiz();
    else if (selectedTab() == statisticsTab)
        showStatistics();
    rememberLastActiveLanguage();
    m_pages.vocabulary->updateEntireView();
}

void QLXMainWindowController::disableAllToolbarItems()
{
    m_toolbarItemsEnabled = false;
    m_languagesPopUp->setEnabled(false);
    for (QAction *item : std::as_const(m_vocabularyActions))
        item->setEnabled(false);
}

void QLXMainWindowController::enableAllToolbarItems()
{
    m_toolbarItemsEnabled = true;
    m_languagesPopUp->setEnabled(true);
    for (QAction *item : std::as_const(m_vocabularyActions))
        item->setEnabled(true);
}

void QLXMainWindowController::preferencesDidChangeVocabularyAtPath(const QString &path)
{
    QLXStorageManager &storage = m_installation.storage();
    const std::optional<QString> currentPath = currentSavePath();
    const QString pathToLoad = currentPath && QFileInfo(*currentPath).isFile() ? *currentPath : path;
    if (std::shared_ptr<Lexicarta> vocabulary = storage.vocabularyFromFile(pathToLoad))
        setCurrentVocabulary(std::move(vocabulary));
    updateLanguagesPopup();
}

void QLXMainWindowController::preferencesDidDeleteVocabularyAtPath(const QString &path)
{
    updateLanguagesPopup();
    if (currentSavePath() == path) {
        m_languagesPopUp->setCurrentIndex(0);
        selectLanguage();
    }
}
