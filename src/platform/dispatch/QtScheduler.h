#pragma once

#include "Scheduler.h"

#include <QObject>

namespace lexi::dispatch {

// The program's scheduler: single-shot QTimers on the thread that created it (the main thread).
class QtScheduler final : public Scheduler
{
protected:
    void start(Duration delay, Block fire) override;

private:
    QObject m_context;
};

} // namespace lexi::dispatch
