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
    auto arm = [this, delay, fire = std::move(fire)]() mutable {
        const Duration step = std::clamp(delay, Duration(0), longestTimer);
        if (step == delay) {
            QTimer::singleShot(step, &m_context, std::move(fire));
            return;
        }
        // Longer delays run out in steps.
        QTimer::singleShot(step, &m_context,
                           [this, rest = delay - step, fire = std::move(fire)] { start(rest, fire); });
    };
    if (QThread::currentThread() == m_context.thread())
        arm();
    else
        QMetaObject::invokeMethod(&m_context, std::move(arm), Qt::QueuedConnection);
}

} // namespace lexi::dispatch
