#include "DelayedBlock.h"

namespace lexi::dispatch {

DelayedBlock &DelayedBlock::operator=(DelayedBlock &&other) noexcept
{
    if (this != &other) {
        cancel();
        m_state = std::move(other.m_state);
    }
    return *this;
}

void DelayedBlock::cancel()
{
    if (m_state)
        m_state->cancelled = true;
}

bool DelayedBlock::isPending() const
{
    return m_state && !m_state->cancelled && !m_state->finished;
}

bool DelayedBlock::isCancelled() const
{
    return m_state && m_state->cancelled;
}

} // namespace lexi::dispatch
