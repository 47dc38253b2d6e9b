#pragma once

#include "platform/ports/AlertPresenter.h"

#include <QString>

#include <optional>

namespace lexi {

// The decisions of the offer to install a copy of the program that was started from a download
// or a removable medium: whether to offer, where the copy goes, what the learner is asked, and the
// scripts that start the copy. All of it works without touching the machine, so it is tested
// with plain values.

// Where the running program lies.
struct ProgramLocation
{
    // The executable, or the AppImage file when the program runs from one.
    QString executablePath;
    QString homePath;
    // The learner's Downloads folder (XDG_DOWNLOAD_DIR); empty when unknown.
    QString downloadsPath;
    bool isOnRemovableMedia = false;
    bool isOnReadOnlyMedia = false;
    // Inside a folder that a build made (a CMake or Ninja build folder).
    bool isInBuildFolder = false;
};

// Offered when not suppressed and the program runs from the Downloads folder, a removable or a
// read-only medium; never from the system's or the learner's installed programs, nor from a
// build folder.
bool shouldOfferMove(const ProgramLocation &location, bool isSuppressed);

enum class MoveTarget { HomeFolder, AllUsers };

struct MoveDestination
{
    QString folder;
    // folder + the executable's file name.
    QString path;
    // Where the desktop entry goes, so that the desktop's menu lists the program.
    QString desktopEntryFolder;
    bool isInHomeFolder = true;
};

// ~/.local/bin (with ~/.local/share/applications, or $XDG_DATA_HOME/applications) for the learner,
// <allUsersPrefix>/bin (with <allUsersPrefix>/share/applications; the prefix is /usr/local) for
// all users.
MoveDestination moveDestination(MoveTarget target, const ProgramLocation &location, const QString &userDataFolder,
                                const QString &allUsersPrefix);

// The offer: its text, its buttons ("Move to Applications Folder" first, then "Do Not Move" and
// "Move for All Users") and the text of the box that stops further offers.
struct MoveOfferQuestion
{
    Alert alert;
    QString suppressionText;
};

enum MoveOfferButton { MoveButton = 0, DoNotMoveButton = 1, MoveForAllUsersButton = 2 };

MoveOfferQuestion moveOfferQuestion(const MoveDestination &destination, bool needsAdministratorRights,
                                    bool isInDownloads);

// How a privileged step run through pkexec ended.
enum class PrivilegedOutcome { Succeeded, Cancelled, Failed };
// pkexec exits 126 when the learner dismissed its dialog and 127 when the learner could not be
// authorised; otherwise it passes on the command's status.
PrivilegedOutcome privilegedOutcome(int exitStatus, bool crashed);

// `text` quoted for /bin/sh: in single quotes, each "'" written as '\''.
QString shellQuoted(const QString &text);

// A /bin/sh script that waits until process `processId` has ended, checking every 0.1 s, then
// starts `executablePath` in the background, detached from any terminal output.
QString relaunchScript(qint64 processId, const QString &executablePath);

// A desktop entry that starts `executablePath`: `shippedEntry` with its Exec and TryExec lines
// pointed at the copy.
QString desktopEntryFor(const QString &shippedEntry, const QString &executablePath);

} // namespace lexi
