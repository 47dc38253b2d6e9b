// The first start (a first language or a first synchronisation) and the synchronisation delegate.
#include "QLXMainWindowController.h"

#include "FirstLanguageNames.h"
#include "FirstStartPage.h"
#include "Installation.h"
#include "ModalWatch.h"
#include "QLXHelpController.h"

#include "model/AvailableLanguages.h"
#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "model/VocabularyKeeper.h"
#include "platform/values/Format.h"
#include "platform/linux/LocaleName.h"
#include "platform/files/StringTables.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>

#include <utility>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

void QLXMainWindowController::setCurrentVocabulary(std::shared_ptr<Lexicarta> vocabulary)
{
    m_pages.vocabulary->keeper().setVocabulary(std::move(vocabulary));
    // The file as it was read: a synchronisation reloads it only when it changes from here.
    if (const auto path = currentSavePath())
        m_vocabularyStamp = lexi::fileStamp(*path);
}

// The current vocabulary's file as a worker read it after a synchronisation changed it.
struct QLXMainWindowController::SynchronisedFile
{
    QString path;
    // The file's stamp while it was read; nothing when it changed during the read.
    std::optional<lexi::FileStamp> stamp;
    // Shared by every copy of the file read, so that the words read can go on the worker once
    // they are no longer needed.
    std::shared_ptr<QLXStorageManager::Loaded> loaded;
};

void QLXMainWindowController::readSynchronisedFile(const QString &path)
{
    const quint64 read = ++m_synchronisedFileReads;
    m_synchronisedFileReader.start<SynchronisedFile>(
        [path, &storage = m_installation.storage()](const std::atomic<bool> &, lexi::WorkProgress &) {
            SynchronisedFile file{path, lexi::fileStamp(path),
                                  std::make_shared<QLXStorageManager::Loaded>(storage.loadFile(path))};
            if (lexi::fileStamp(path) != file.stamp)
                file.stamp.reset();
            return file;
        },
        [this, read, open = std::weak_ptr(currentVocabulary())](const SynchronisedFile &file) {
            if (read != m_synchronisedFileReads || open.lock() != currentVocabulary())
                return;
            if (nextSynchronisedFileStep(file) == SynchronisedFileStep::merge)
                mergeSynchronisedFile(read, file);
            else
                takeInSynchronisedFileWhenFree(read, file, nullptr);
        });
}

void QLXMainWindowController::mergeSynchronisedFile(quint64 read, const SynchronisedFile &file)
{
    // The vocabulary changed since its file was saved: the result is merged into a copy of it on
    // the worker meanwhile, and taken in only if the vocabulary does not change until then.
    auto merge = std::make_shared<Lexicarta::PreparedMerge>(currentVocabulary()->prepareMerge());
    m_synchronisedFileReader.start<std::shared_ptr<Lexicarta::PreparedMerge>>(
        [merge, synchronised = file.loaded->vocabulary](const std::atomic<bool> &, lexi::WorkProgress &) {
            merge->merge(*synchronised);
            return merge;
        },
        [this, read, file, open = std::weak_ptr(currentVocabulary())](
            const std::shared_ptr<Lexicarta::PreparedMerge> &merged) {
            if (open.lock() == currentVocabulary())
                takeInSynchronisedFileWhenFree(read, file, merged);
        });
}

void QLXMainWindowController::takeInSynchronisedFileWhenFree(quint64 read, const SynchronisedFile &file,
                                                            const std::shared_ptr<Lexicarta::PreparedMerge> &merge)
{
    m_modalWatch.runWhenNoModal([this, read, open = std::weak_ptr(currentVocabulary()), file, merge] {
        m_pages.quiz->runWhenNoQuizRuns([this, read, open, file, merge] {
            // A later read is on its way, or another vocabulary was opened meanwhile.
            if (read == m_synchronisedFileReads && open.lock() == currentVocabulary())
                takeInSynchronisedFile(file, merge.get());
        });
    });
}

QLXMainWindowController::SynchronisedFileStep
QLXMainWindowController::nextSynchronisedFileStep(const SynchronisedFile &file) const
{
    // Another language is open now, or the file holds what the program saved or read itself.
    if (currentSavePath() != file.path || (file.stamp && file.stamp == m_vocabularyStamp))
        return SynchronisedFileStep::leave;
    if (!file.loaded->vocabulary)
        return SynchronisedFileStep::refuse;
    // Whether the open vocabulary changed since its file was saved is decided when the result is
    // taken in, not when the read began: the learner may have gone on working while it was read.
    const std::optional<lexi::FileStamp> now = lexi::fileStamp(file.path);
    if (file.stamp && now == file.stamp && !m_changedSinceSaved)
        return SynchronisedFileStep::replace;
    if (!m_changedSinceSaved && now != m_vocabularyStamp)
        return now ? SynchronisedFileStep::readAgain : SynchronisedFileStep::leave;
    return SynchronisedFileStep::merge;
}

void QLXMainWindowController::takeInSynchronisedFile(const SynchronisedFile &file, Lexicarta::PreparedMerge *merge)
{
    lexi::VocabularyKeeper &keeper = m_pages.vocabulary->keeper();
    switch (nextSynchronisedFileStep(file)) {
    case SynchronisedFileStep::leave:
        return;
    case SynchronisedFileStep::refuse:
        // A damaged file leaves the open vocabulary as it is, and is not read again until it changes.
        if (file.loaded->failure)
            m_installation.storage().showLoadFailure(*file.loaded->failure);
        if (file.stamp)
            m_vocabularyStamp = file.stamp;
        return;
    case SynchronisedFileStep::replace:
        // Every change was saved before the synchronisation read the file, so its result holds them.
        m_vocabularyStamp = file.stamp;
        keeper.setVocabulary(file.loaded->vocabulary);
        return;
    case SynchronisedFileStep::readAgain:
        // Written again since it was read, not by the program: what was read is out of date.
        readSynchronisedFile(file.path);
        return;
    case SynchronisedFileStep::merge:
        break;
    }
    // The learner changed the vocabulary after the synchronisation read the file (its save may
    // even have replaced the result): the result comes in as another version, and the vocabulary,
    // now holding both, goes up at the next run. A merge made on the worker is taken when nothing
    // changed since it began; else the result is merged here.
    const std::shared_ptr<Lexicarta> open = keeper.vocabulary();
    Lexicarta &synchronised = *file.loaded->vocabulary;
    if (!merge || !open->takePreparedMerge(std::move(*merge)))
        open->mergeWithOtherVersion(synchronised);
    open->setVersion(synchronised.version());
    open->setLineage(synchronised.lineage());
    keeper.setVocabulary(open);
    keeper.recordChange();
    // The words read and those the merge replaced go on the worker, now that the pages showing
    // them have let go of them.
    m_synchronisedFileReader.release(std::exchange(file.loaded->vocabulary, nullptr));
    if (merge)
        m_synchronisedFileReader.release(std::make_shared<Lexicarta::PreparedMerge>(std::move(*merge)));
}

void QLXMainWindowController::finishSynchronisedFileRead()
{
    m_synchronisedFileReader.finishPendingWork();
}

void QLXMainWindowController::setProgressRunning(bool running)
{
    m_firstStartPage->firstSyncProgressWheel->setRange(0, running ? 0 : 1);
    m_firstStartPage->firstSyncProgressWheel->setVisible(running);
}

void QLXMainWindowController::showFirstSyncStartState()
{
    FirstStartPage &page = *m_firstStartPage;
    const bool isLinked = m_installation.dropboxController().isLinked();
    FirstStartPage::setStepColor(page.firstSyncStep2Label, true);
    page.firstSyncLinkDBButton->setEnabled(!isLinked);
    page.firstSyncStep2Check->setVisible(isLinked);
    page.firstSyncGetStartedButton->setVisible(false);
    page.firstSyncGetStartedButton->setEnabled(false);
    setProgressRunning(false);
    FirstStartPage::setStepColor(page.firstSyncStep3Label, false);
    page.firstSyncStep3Check->setVisible(false);
    page.firstSyncStep4Label->setVisible(false);
    if (isLinked) {
        setProgressRunning(true);
        FirstStartPage::setStepColor(page.firstSyncStep3Label, true);
    }
}

void QLXMainWindowController::prepareFirstStartPage()
{
    m_mainTabView->setCurrentIndex(firstStartTab);
    showFirstSyncStartState();
    disableAllToolbarItems();
    m_firstStartPage->firstLanguageField->setFocus();
}

void QLXMainWindowController::firstLanguageTextChanged()
{
    m_firstStartPage->getStartedButton->setEnabled(!m_firstStartPage->firstLanguageField->text().isEmpty());
}

void QLXMainWindowController::setFirstLanguage()
{
    createFirstLanguageWithName(m_firstStartPage->firstLanguageField->text());
}

void QLXMainWindowController::refuseLanguageName(const QString &name)
{
    m_installation.ports().alerts.runModal(
        {mainWindowText(u"invalidLanguageName"_s),
         lexi::format(mainWindowText(u"invalidLanguageNameMsg"_s), name),
         {lexi::StringTables::text(u"ok"_s)},
         0});
}

void QLXMainWindowController::createFirstLanguageWithName(const QString &name)
{
    const lexi::FirstLanguageNames names = lexi::firstLanguageNames(lexi::selectedLocaleName(), name);
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(m_installation.services());
    vocabulary->setYourLanguageName(names.yourLanguageName);
    vocabulary->setForeignLanguageName(names.foreignLanguageName);

    QLXStorageManager &storage = m_installation.storage();
    const std::optional<QString> path = storage.savePathForVocabulary(*vocabulary);
    if (!path) {
        refuseLanguageName(names.foreignLanguageName);
        return;
    }
    if (QFileInfo::exists(*path)) {
        // The first synchronisation may have brought this language already: open it rather than
        // saving an empty vocabulary over it.
        vocabulary = storage.vocabularyFromFile(*path);
        if (!vocabulary)
            return;
        setCurrentVocabulary(vocabulary);
    } else {
        setCurrentVocabulary(vocabulary);
        // An empty vocabulary writes at once; the language pop-up lists it from its file.
        if (!m_pages.vocabulary->keeper().recordChange())
            return;
        storage.flushSaves();
    }
    m_pages.vocabulary->updateEntireView();
    updateLanguagesPopup();
    enableAllToolbarItems();
    doSync();
    m_helpController->closeHelp();
    showVocabulary();
}

void QLXMainWindowController::linkWithDropbox()
{
    DropBoxController &dropbox = m_installation.dropboxController();
    dropbox.setDelegate(this);
    dropbox.setIsEnabled(true);
}

void QLXMainWindowController::dropboxControllerDidLinkSuccessfully()
{
    if (!m_isInFirstSetupMode) {
        after(2s, [this] { m_pages.preferences->showSyncing(); });
        return;
    }
    FirstStartPage &page = *m_firstStartPage;
    page.firstSyncLinkDBButton->setEnabled(false);
    page.firstSyncStep2Check->setVisible(true);
    FirstStartPage::setStepColor(page.firstSyncStep3Label, true);
    setProgressRunning(true);
    doSync();
}

void QLXMainWindowController::dropboxControllerFailedToLink()
{
    m_pages.preferences->showSyncing();
}

void QLXMainWindowController::dropboxControllerDidFinishSync()
{
    m_modalWatch.runWhenNoModal([this] {
        m_pages.quiz->runWhenNoQuizRuns([this] {
            if (const auto path = currentSavePath()) {
                if (const std::optional<lexi::FileStamp> stamp = lexi::fileStamp(*path);
                    stamp && stamp != m_vocabularyStamp)
                    readSynchronisedFile(*path);
            }
        });
        updateLanguagesPopup();

        FirstStartPage &page = *m_firstStartPage;
        page.firstSyncStep3Check->setVisible(true);
        setProgressRunning(false);
        page.firstSyncGetStartedButton->setVisible(true);
        page.firstSyncGetStartedButton->setEnabled(true);
        page.firstSyncStep4Label->setVisible(false);

        m_pages.vocabulary->cloudControllerDidSync();
        m_pages.preferences->cloudControllerDidSync();
        m_pages.quiz->quizListsToAskChanged();
    });
}

void QLXMainWindowController::noteOwnSave(const QString &path, const lexi::FileStamp &stamp, bool isLatest)
{
    if (currentSavePath() != path)
        return;
    m_vocabularyStamp = stamp;
    if (isLatest)
        m_changedSinceSaved = false;
}

void QLXMainWindowController::getStartedAfterSync()
{
    const QStringList paths = lexi::loadAllAvailableLanguagePaths(m_installation.folders());
    if (std::shared_ptr<Lexicarta> vocabulary = loadFirstOf(paths)) {
        setCurrentVocabulary(std::move(vocabulary));
        m_pages.vocabulary->updateEntireView();
        updateLanguagesPopup();
        enableAllToolbarItems();
        showVocabulary();
        return;
    }
    FirstStartPage &page = *m_firstStartPage;
    page.firstSyncStep2Check->setVisible(false);
    page.firstSyncStep3Check->setVisible(false);
    page.firstSyncLinkDBButton->setEnabled(true);
    page.firstSyncGetStartedButton->setVisible(false);
    page.firstSyncGetStartedButton->setEnabled(false);
    page.firstSyncStep4Label->setVisible(false);
    // Files that failed to load have told the learner already.
    if (paths.isEmpty())
        m_installation.ports().alerts.runModal({mainWindowText(u"noLangsOnDB"_s), mainWindowText(u"noLangsOnDBMsg"_s),
                                                {lexi::StringTables::text(u"ok"_s)}, 0});
}
