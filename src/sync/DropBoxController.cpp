#include "DropBoxController.h"

#include "QLXSyncLog.h"

#include "logging/QLXLogMacros.h"
#include "model/QLXStorageManager.h"
#include "model/VocabularyFileName.h"
#include "platform/dispatch/Dispatch.h"
#include "platform/files/Settings.h"
#include "platform/ports/Console.h"
#include "platform/values/NoDestructor.h"
#include "platform/values/SharedInstance.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;
using lexi::CloudFolder;

// The shared controller, linking and switching synchronisation on and off, and what starts a run.
// One run with its two phases is in DropBoxControllerSync.cpp, the sync logs' upload in
// DropBoxControllerLogs.cpp.

namespace {

constexpr int qlxLogLevel = QLXLogLevelVerbose;

lexi::SharedInstance<DropBoxController> &shared()
{
    static lexi::NoDestructor<lexi::SharedInstance<DropBoxController>> shared;
    return shared.get();
}

} // namespace

void DropBoxController::setSharedEnvironment(Environment environment)
{
    shared().setEnvironment(std::move(environment));
}

DropBoxController *DropBoxController::sharedManager()
{
    return shared().get();
}

DropBoxController::DropBoxController(Environment environment)
    : m_environment(std::move(environment)),
      m_isEnabled(lexi::Settings(*m_environment.defaults).value(lexi::Settings::enableDropbox))
{
    m_mainThread->controller = this;
    m_environment.syncLog->setUploadBlock([this] { m_queue.async([this] { syncSyncLogToDropbox(); }); });
    createFileSystem();
}

DropBoxController::~DropBoxController()
{
    m_mainThread->controller = nullptr;
    m_mainThread->delegate = nullptr;
    m_environment.cloudFolder->removeObserver();
    m_environment.syncLog->setUploadBlock({});
    std::lock_guard lock(m_followUpMutex);
    m_firstFollowUp.cancel();
    m_secondFollowUp.cancel();
}

void DropBoxController::setWindow(lexi::FolderChooser *window)
{
    m_window = window;
}

void DropBoxController::setDelegate(DropboxControllerDelegate *delegate)
{
    m_mainThread->delegate = delegate;
}

void DropBoxController::tellDelegate(void (DropboxControllerDelegate::*call)())
{
    lexi::dispatch::mainAsync([link = m_mainThread, call] {
        if (DropboxControllerDelegate *delegate = link->delegate)
            (delegate->*call)();
    });
}

void DropBoxController::createFileSystem()
{
    if (isLinked())
        m_environment.cloudFolder->addObserver([this] { dropboxFolderDidChange(); }, lexi::isVocabularyFileName);
}

void DropBoxController::linkWithDropbox()
{
    if (isLinked() || m_isLinking)
        return;
    lexi::FolderChooser *window = m_window;
    if (!window) {
        QLXLogError("!!!!!!!! must assign window to dropbox controller");
        return;
    }
    m_isLinking = true;
    const bool linked = m_environment.cloudFolder->link(*window, m_environment.homeFolder);
    m_isLinking = false;
    ++m_linkDialogsClosed;
    linkCompleted(linked);
}

void DropBoxController::linkCompleted(bool linked)
{
    m_isEnabled = linked;
    lexi::Settings(*m_environment.defaults).setValue(lexi::Settings::enableDropbox, linked);
    if (linked) {
        lexi::Console::writeLine(u"App linked successfully!"_s);
        createFileSystem();
    }
    if (DropboxControllerDelegate *delegate = m_mainThread->delegate) {
        if (linked)
            delegate->dropboxControllerDidLinkSuccessfully();
        else
            delegate->dropboxControllerFailedToLink();
    }
}

void DropBoxController::setIsEnabled(bool enabled)
{
    if (enabled && !isLinked()) {
        // Every synchronisation request queues one while no folder is linked; those queued before
        // the chooser last closed were answered by the learner there.
        lexi::dispatch::mainAsync([link = m_mainThread, closedBefore = m_linkDialogsClosed.load()] {
            DropBoxController *controller = link->controller;
            if (controller && controller->m_linkDialogsClosed == closedBefore)
                controller->linkWithDropbox();
        });
        return;
    }
    m_isEnabled = enabled;
    lexi::Settings(*m_environment.defaults).setValue(lexi::Settings::enableDropbox, enabled);
    if (!enabled)
        m_environment.cloudFolder->unlink();
}

bool DropBoxController::isEnabled() const
{
    return m_isEnabled;
}

bool DropBoxController::isLinked() const
{
    return m_environment.cloudFolder->isLinked();
}

void DropBoxController::deleteLanguageWithName(const QString &name)
{
    if (isLinked())
        m_environment.cloudFolder->deletePath(name + lexi::vocabularyFileExtension);
}

void DropBoxController::markFileAsNeedsSync(const Lexicarta &vocabulary)
{
    // A vocabulary without a save path has no file to upload.
    const std::optional<QString> path = m_environment.storage->savePathForVocabulary(vocabulary);
    if (!path)
        return;
    const QString name = QFileInfo(*path).fileName();
    if (m_localFileNamesNeedingSync.mark(name))
        QLXLogVerbose("DB > markedFileAsNeedsSync > %@ v%ld", name, vocabulary.version());
}

void DropBoxController::dropboxFolderDidChange()
{
    QLXLogInfo("Dropbox > FolderDidChangeNotification");
    m_throttle.folderDidChange();
    if (m_waitForSyncToComplete.exchange(true)) {
        QLXLogInfo("Dropbox > FolderDidChangeNotification > ingored (too recently)");
        return;
    }
    std::lock_guard lock(m_followUpMutex);
    m_firstFollowUp = m_queue.after(*m_environment.scheduler, std::chrono::seconds(5), [this] {
        syncWithDropboxBlocking();
        m_waitForSyncToComplete = false;
    });
    // Lets a run past the wait for the last one, not past the wait after an upload.
    m_secondFollowUp = m_queue.after(*m_environment.scheduler, std::chrono::seconds(15), [this] {
        m_throttle.folderDidChange();
        syncWithDropboxBlocking();
    });
}

void DropBoxController::finishPendingWork()
{
    m_queue.sync([] {});
}
