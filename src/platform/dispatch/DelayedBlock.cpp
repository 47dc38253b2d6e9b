#include "DelayedBlock.h"

namespace lexi::dispatch {

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
