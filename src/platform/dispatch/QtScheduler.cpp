#include "QtScheduler.h"

#include <QThread>
#include <QTimer>

namespace lexi::dispatch {

void QtScheduler::start(Duration delay, Block fire)
{
    auto arm = [this, delay, fire = std::move(fire)] { QTimer::singleShot(delay, &m_context, fire); };
    if (QThread::currentThread() == m_context.thread())
        arm();
    else
        QMetaObject::invokeMethod(&m_context, std::move(arm), Qt::QueuedConnection);
}

} // namespace lexi::dispatch
