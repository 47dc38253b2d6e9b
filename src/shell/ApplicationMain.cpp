#include "ApplicationMain.h"

#include "DesktopWorkspace.h"
#include "Installation.h"
#include "InstallationClaim.h"
#include "InstallationLaunchServices.h"
#include "MainInterface.h"
#include "QtAlertPresenter.h"
#include "QtFileChooser.h"
#include "QtFolderChooser.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"

#include "logging/QLXASLLogger.h"
#include "logging/QLXLog.h"
#include "logging/QLXTTYLogger.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Defaults.h"
#include "platform/linux/X11InputSources.h"
#include "platform/dispatch/QtScheduler.h"

#include <QApplication>
#include <QMainWindow>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

std::unique_ptr<InputSources> keyboardInputSources()
{
    if (QApplication::platformName() == u"xcb"_s) {
        if (std::unique_ptr<X11InputSources> sources = X11InputSources::open())
            return sources;
    }
    return std::make_unique<NullInputSources>();
}

QString runtimeFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

} // namespace

int runLexicarta(QApplication &application)
{
    QLXLog::addLogger(QLXASLLogger::sharedInstance());
    QLXLog::addLogger(QLXTTYLogger::sharedInstance());

    QtAlertPresenter alerts;
    std::optional<ApplicationFolders> folders =
        ApplicationFolders::open(ApplicationFolders::standardUserDataFolder(), alerts);
    if (!folders)
        return 1;

    SingleInstance instance(folders->applicationSupportFolder(), runtimeFolder());
    switch (claimInstallation(instance, alerts)) {
    case StartClaim::goOn:
        break;
    case StartClaim::handedOver:
        return 0;
    case StartClaim::cannotGoOn:
        return 1;
    }

    dispatch::QtScheduler scheduler;
    QtFileChooser fileChooser;
    QtFolderChooser folderChooser;
    DesktopWorkspace workspace;
    const std::unique_ptr<InputSources> inputSources = keyboardInputSources();
    Installation installation(std::move(*folders), Defaults::standardFilePath(),
                              {Clock::system(), scheduler, alerts, fileChooser, folderChooser, workspace,
                               *inputSources, NetworkReachability::system()});

    ProgramMoveOffer moveOffer(installation);
    MainInterface interface(installation, moveOffer);
    QMainWindow *window = interface.mainWindowController().mainWindow();
    alerts.setParentWindow(window);
    fileChooser.setParentWindow(window);
    folderChooser.setParentWindow(window);

    // Before the window shows: a termination asked for from then on waits for the event loop
    // and quits through it, saving what is open.
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &application, &QApplication::quit);

    interface.awakeFromNib();
    window->show();
    AppDelegate &delegate = interface.appDelegate();
    if (!delegate.applicationWillFinishLaunching())
        return 0;
    delegate.applicationDidFinishLaunching();

    QObject::connect(&instance, &SingleInstance::reopenRequested, &application,
                     [&delegate] { delegate.applicationShouldHandleReopen(); });
    application.setQuitOnLastWindowClosed(delegate.applicationShouldTerminateAfterLastWindowClosed());

    const int exitCode = application.exec();
    delegate.applicationWillTerminate();
    alerts.setParentWindow(nullptr);
    fileChooser.setParentWindow(nullptr);
    folderChooser.setParentWindow(nullptr);
    QLXLog::flushLog();
    return exitCode;
}

} // namespace lexi
