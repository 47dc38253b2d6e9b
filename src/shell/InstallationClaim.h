#pragma once

#include <chrono>

class SingleInstance;

namespace lexi {

class AlertPresenter;

// How a start goes on once it asked for its installation.
enum class StartClaim {
    // This program has the installation.
    goOn,
    // The program already running here came forward instead.
    handedOver,
    // The start cannot go on; it said why.
    cannotGoOn,
};

// Claims the installation for this start. The program of this machine that holds it is asked to
// come forward instead; a lock that names a program which cannot be checked (one on another
// computer that shares the home folder) is taken over when the learner agrees. When the start
// cannot go on, it says why, in an alert and in a line on standard error. The running program
// has `handOverPatience` to answer.
StartClaim claimInstallation(SingleInstance &instance, AlertPresenter &alerts,
                             std::chrono::milliseconds handOverPatience = std::chrono::seconds(5));

} // namespace lexi
