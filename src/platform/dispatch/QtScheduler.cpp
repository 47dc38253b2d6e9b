#include "QtScheduler.h"

#include <QThread>
#include <QTimer>

#include <limits>

namespace lexi::dispatch {

namespace {
// A QTimer counts whole milliseconds in an int (about 24.8 days).
constexpr Scheduler::Duration longestTimer{std::numeric_limits<int>::max()};
} // namespace

void QtScheduler::start(Duration delay, Block fire)
{
    delay = std::max(delay, Duration(0));
    auto arm = [this, delay, fire = std::move(fire)]() mutable {
        // Precise: coarse timers may fire up to 5 % early, and Qt rounds long ones to seconds.
        if (delay <= longestTimer) {
            QTimer::singleShot(delay, Qt::PreciseTimer, &m_context, std::move(fire));
            return;
        }
        // Longer delays run out in steps.
        QTimer::singleShot(longestTimer, Qt::PreciseTimer, &m_context,
                           [this, rest = delay - longestTimer, fire = std::move(fire)] { start(rest, fire); });
    };
    if (QThread::currentThread() == m_context.thread())
        arm();
    else
        QMetaObject::invokeMethod(&m_context, std::move(arm), Qt::QueuedConnection);
}

} // namespace lexi::dispatch
