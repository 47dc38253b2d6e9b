#include "ModalWatch.h"

#include <QApplication>

namespace lexi {

ModalWatch::ModalWatch(dispatch::Scheduler &scheduler) : m_scheduler(scheduler) {}

bool ModalWatch::isModalOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

void ModalWatch::runWhenNoModal(dispatch::Block step)
{
    if (m_waiting.empty() && !isModalOpen()) {
        step();
        return;
    }
    m_waiting.push_back(std::move(step));
    if (!m_retry.isPending())
        m_retry = m_scheduler.after(retryInterval, [this] { retry(); });
}

void ModalWatch::retry()
{
    while (!m_waiting.empty()) {
        if (isModalOpen()) {
            m_retry = m_scheduler.after(retryInterval, [this] { retry(); });
            return;
        }
        dispatch::Block step = std::move(m_waiting.front());
        m_waiting.erase(m_waiting.begin());
        step();
    }
}

} // namespace lexi
