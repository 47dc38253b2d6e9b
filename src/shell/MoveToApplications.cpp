#include "MoveToApplications.h"

#include "platform/files/AtomicFile.h"
#include "platform/linux/RunningPrograms.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Console.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>

namespace lexi {

using namespace Qt::StringLiterals;

namespace {

// A missing folder can be made when its nearest existing parent is writable.
QString nearestExisting(const QString &path)
{
    QFileInfo info(path);
    while (!info.exists() && info.absolutePath() != info.absoluteFilePath())
        info = QFileInfo(info.absolutePath());
    return info.absoluteFilePath();
}

bool needsAdministratorRights(const MoveEnvironment &environment, const MoveDestination &destination)
{
    return !environment.isWritable(nearestExisting(destination.folder))
           || !environment.isWritable(nearestExisting(destination.desktopEntryFolder))
           || (QFileInfo::exists(destination.path) && !environment.isWritable(destination.path));
}

void showFailure(AlertPresenter &alerts)
{
    alerts.runModal(Alert{StringTables::text(u"Could not move to Applications folder"_s, u"MoveApplication"_s), {},
                          {StringTables::text(u"OK"_s)}, 0});
}

bool writeDesktopEntry(const MoveEnvironment &environment, const MoveDestination &destination)
{
    if (!QDir().mkpath(destination.desktopEntryFolder))
        return false;
    const QString entry = desktopEntryFor(environment.shippedDesktopEntry, destination.path);
    return bool(writeFileAtomically(destination.desktopEntryFolder + u'/' + environment.desktopEntryFileName,
                                    entry.toUtf8()));
}

// Copies the program as the administrator: one password dialog for the whole copy.
MoveOutcome copyWithAuthorization(const MoveEnvironment &environment, const MoveDestination &destination,
                                  AlertPresenter &alerts)
{
    const QString source = environment.location.executablePath;
    if (source.trimmed().isEmpty() || destination.path.trimmed().isEmpty() || !environment.runPrivileged) {
        Console::writeLine(u"ERROR -- Could not copy myself to /Applications with authorization"_s);
        showFailure(alerts);
        return MoveOutcome::Failed;
    }
    const QString entryPath = destination.desktopEntryFolder + u'/' + environment.desktopEntryFileName;
    const QString entryText = desktopEntryFor(environment.shippedDesktopEntry, destination.path);
    const QString script =
        u"set -e; /bin/mkdir -p %6; /bin/rm -rf %1; /bin/cp -p %2 %1; /bin/chmod 755 %1; /bin/mkdir -p %3; "
        u"/usr/bin/printf '%s' %4 > %5"_s.arg(shellQuoted(destination.path), shellQuoted(source),
                                                shellQuoted(destination.desktopEntryFolder), shellQuoted(entryText),
                                                shellQuoted(entryPath), shellQuoted(destination.folder));
    const std::optional<int> status = environment.runPrivileged(script);
    switch (privilegedOutcome(status.value_or(-1), !status)) {
    case PrivilegedOutcome::Succeeded:
        return MoveOutcome::Relaunching;
    case PrivilegedOutcome::Cancelled:
        Console::writeLine(u"INFO -- Not moving because user canceled authorization"_s);
        return MoveOutcome::Cancelled;
    case PrivilegedOutcome::Failed:
        break;
    }
    Console::writeLine(u"ERROR -- Could not copy myself to /Applications with authorization"_s);
    showFailure(alerts);
    return MoveOutcome::Failed;
}

MoveOutcome copyAsLearner(const MoveEnvironment &environment, const MoveDestination &destination,
                          AlertPresenter &alerts)
{
    const QString source = environment.location.executablePath;
    if (QFileInfo::exists(destination.path) && !trashItemAtPath(destination.path)) {
        showFailure(alerts);
        return MoveOutcome::Failed;
    }
    QFile copy(source);
    if (!QDir().mkpath(destination.folder) || !copy.copy(destination.path)) {
        Console::writeLine(u"ERROR -- Could not copy '%1' to '%2' (%3)"_s.arg(source, destination.path,
                                                                             copy.errorString()));
        Console::writeLine(u"ERROR -- Could not copy myself to %1"_s.arg(destination.path));
        showFailure(alerts);
        return MoveOutcome::Failed;
    }
    QFile::setPermissions(destination.path, QFile::permissions(destination.path) | QFile::ExeOwner
                                                | QFile::ExeGroup | QFile::ExeOther);
    if (!writeDesktopEntry(environment, destination))
        Console::writeLine(u"WARNING -- Could not add '%1' to the desktop's programs"_s.arg(destination.path));
    return MoveOutcome::Relaunching;
}

void removeOriginal(const MoveEnvironment &environment)
{
    // A read-only medium keeps its copy; anything else goes to the trash, where the learner can
    // still find it.
    if (environment.location.isOnReadOnlyMedia)
        return;
    const QString original = environment.location.executablePath;
    QFile file(original);
    if (file.moveToTrash())
        return;
    Console::writeLine(u"WARNING -- Could not delete '%1': %2"_s.arg(original, file.errorString()));
    if (!QFile::remove(original))
        Console::writeLine(u"WARNING -- Could not delete application after moving it to Applications folder"_s);
}

bool isInBuildFolder(const QString &path)
{
    for (QDir folder = QFileInfo(path).absoluteDir();; ) {
        if (folder.exists(u"CMakeCache.txt"_s) || folder.exists(u"build.ninja"_s))
            return true;
        if (!folder.cdUp())
            return false;
    }
}

bool isRemovableMount(const QString &rootPath)
{
    return rootPath.startsWith(u"/media/"_s) || rootPath.startsWith(u"/run/media/"_s);
}

} // namespace

MoveOutcome moveToApplicationsFolderIfNecessary(const MoveEnvironment &environment, Settings &settings,
                                                MoveOfferPresenter &presenter, AlertPresenter &alerts)
{
    if (!shouldOfferMove(environment.location, settings.value(Settings::moveToApplicationsFolderAlertSuppress)))
        return MoveOutcome::NothingToDo;

    const bool isInDownloads = !environment.location.downloadsPath.isEmpty()
                               && QDir::cleanPath(environment.location.executablePath)
                                      .startsWith(QDir::cleanPath(environment.location.downloadsPath) + u'/');
    const MoveDestination home = moveDestination(MoveTarget::HomeFolder, environment.location,
                                                 environment.userDataFolder, environment.allUsersPrefix);
    const MoveOfferAnswer answer =
        presenter.ask(moveOfferQuestion(home, needsAdministratorRights(environment, home), isInDownloads));
    if (answer.button != MoveButton && answer.button != MoveForAllUsersButton) {
        if (answer.suppress)
            settings.setValue(Settings::moveToApplicationsFolderAlertSuppress, true);
        return MoveOutcome::Declined;
    }

    Console::writeLine(u"INFO -- Moving myself to the Applications folder"_s);
    const MoveDestination destination =
        answer.button == MoveForAllUsersButton
            ? moveDestination(MoveTarget::AllUsers, environment.location, environment.userDataFolder,
                              environment.allUsersPrefix)
            : home;
    if (needsAdministratorRights(environment, destination)) {
        const MoveOutcome outcome = copyWithAuthorization(environment, destination, alerts);
        if (outcome != MoveOutcome::Relaunching)
            return outcome;
    } else if (QFileInfo::exists(destination.path) && environment.isRunning(destination.path)) {
        Console::writeLine(u"INFO -- Switching to an already running version"_s);
        environment.startDetachedShell(shellQuoted(destination.path) + u" >/dev/null 2>&1 </dev/null &"_s);
        return MoveOutcome::Relaunching;
    } else if (const MoveOutcome outcome = copyAsLearner(environment, destination, alerts);
               outcome != MoveOutcome::Relaunching) {
        return outcome;
    }
    removeOriginal(environment);
    environment.startDetachedShell(relaunchScript(environment.processId, destination.path));
    return MoveOutcome::Relaunching;
}

MoveEnvironment currentEnvironment()
{
    MoveEnvironment environment;
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    environment.location.executablePath = appImage.isEmpty() ? QCoreApplication::applicationFilePath() : appImage;
    environment.location.homePath = QDir::homePath();
    environment.location.downloadsPath = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QStorageInfo volume(QFileInfo(environment.location.executablePath).absolutePath());
    environment.location.isOnReadOnlyMedia = volume.isValid() && volume.isReadOnly();
    environment.location.isOnRemovableMedia = volume.isValid() && isRemovableMount(volume.rootPath());
    environment.location.isInBuildFolder = isInBuildFolder(environment.location.executablePath);
    environment.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QFile shippedEntry(u":/desktop/org.lexicarta.Lexicarta.desktop"_s);
    if (shippedEntry.open(QIODevice::ReadOnly))
        environment.shippedDesktopEntry = QString::fromUtf8(shippedEntry.readAll());
    environment.desktopEntryFileName = u"org.lexicarta.Lexicarta.desktop"_s;
    environment.allUsersPrefix = u"/usr/local"_s;
    environment.processId = QCoreApplication::applicationPid();
    environment.isWritable = [](const QString &path) { return QFileInfo(path).isWritable(); };
    environment.runPrivileged = [](const QString &script) -> std::optional<int> {
        QProcess process;
        process.start(u"pkexec"_s, {u"/bin/sh"_s, u"-c"_s, script});
        if (!process.waitForStarted() || !process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
            return std::nullopt;
        return process.exitCode();
    };
    environment.startDetachedShell = [](const QString &script) {
        return QProcess::startDetached(u"/bin/sh"_s, {u"-c"_s, script});
    };
    environment.isRunning = isExecutableRunning;
    return environment;
}

bool trashItemAtPath(const QString &path)
{
    QFile file(path);
    if (file.moveToTrash())
        return true;
    Console::writeLine(u"ERROR -- Could not trash '%1'"_s.arg(path));
    return false;
}

} // namespace lexi
