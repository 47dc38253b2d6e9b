#pragma once

#include "platform/dispatch/Block.h"
#include "platform/dispatch/DelayedBlock.h"
#include "platform/dispatch/Scheduler.h"

#include <vector>

namespace lexi {

// Holds back steps that would change what the learner sees while an alert, a dialog or a sheet is
// open over it: a delayed step or a synchronisation result runs once nothing modal is open any
// more, so a vocabulary is never replaced under an open sheet.
class ModalWatch
{
public:
    // How often a held-back step looks again whether the modal window has closed.
    static constexpr dispatch::Scheduler::Duration retryInterval{200};

    explicit ModalWatch(dispatch::Scheduler &scheduler);

    ModalWatch(const ModalWatch &) = delete;
    ModalWatch &operator=(const ModalWatch &) = delete;

    // Whether a modal window (application- or window-modal) is open.
    static bool isModalOpen();

    // Runs `step` now when nothing modal is open, else as soon as that has closed. Held-back steps
    // run in the order they came.
    void runWhenNoModal(dispatch::Block step);

private:
    void retry();

    dispatch::Scheduler &m_scheduler;
    std::vector<dispatch::Block> m_waiting;
    dispatch::DelayedBlock m_retry;
};

} // namespace lexi
