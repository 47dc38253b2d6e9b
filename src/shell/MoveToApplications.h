#pragma once

#include "MoveOffer.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace lexi {

class AlertPresenter;
class Settings;

// The learner's answer to the offer: the button and whether the box that stops further offers
// was ticked.
struct MoveOfferAnswer
{
    int button = DoNotMoveButton;
    bool suppress = false;
};

// Asks the offer's question and waits for the answer.
class MoveOfferPresenter
{
public:
    virtual ~MoveOfferPresenter() = default;
    virtual MoveOfferAnswer ask(const MoveOfferQuestion &question) = 0;
};

enum class MoveOutcome {
    NothingToDo,
    Declined,
    // The learner dismissed the administrator's password dialog: nothing changed, nothing shown.
    Cancelled,
    // The failure alert was shown; the program goes on from where it is.
    Failed,
    // The copy starts once this process has ended: the caller quits with status 0 at once.
    Relaunching,
};

// What the offer needs of the machine; the program's are made by currentEnvironment(), tests
// make their own.
struct MoveEnvironment
{
    ProgramLocation location;
    // $XDG_DATA_HOME or ~/.local/share, under which the learner's desktop entries live.
    QString userDataFolder;
    // The desktop entry the program ships, written beside the copy with its Exec line changed.
    QString shippedDesktopEntry;
    QString desktopEntryFileName;
    // Where programs for all users go: /usr/local.
    QString allUsersPrefix;
    qint64 processId = 0;
    // Runs `/bin/sh -c script` as the administrator (through pkexec); gives its exit status, or
    // nothing when it crashed or could not start.
    std::function<std::optional<int>(const QString &script)> runPrivileged;
    // Starts `/bin/sh -c script` detached from this process; whether it started.
    std::function<bool(const QString &script)> startDetachedShell;
    // Whether this process may write into the folder or file at `path`.
    std::function<bool(const QString &path)> isWritable;
    // Whether a running process executes the file at `path`.
    std::function<bool(const QString &path)> isRunning;
};

// Offers to copy the program into the learner's (or everybody's) programs folder when it runs
// from a download or a removable medium, and starts the copy. Runs at start-up before any window,
// blocking in its question.
MoveOutcome moveToApplicationsFolderIfNecessary(const MoveEnvironment &environment, Settings &settings,
                                                MoveOfferPresenter &presenter, AlertPresenter &alerts);

// The running program's environment on this machine.
MoveEnvironment currentEnvironment();

// Moves `path` to the desktop's trash; logs and answers false when it cannot.
bool trashItemAtPath(const QString &path);

} // namespace lexi
