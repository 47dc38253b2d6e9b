#pragma once

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <optional>

namespace lexi {

// How far a piece of work on another thread has come: told by the work, read by whoever shows it
// on its own thread. Work that cannot tell leaves it unknown.
class WorkProgress
{
public:
    // `done` of `total` steps.
    void set(qint64 done, qint64 total)
    {
        if (total > 0)
            m_permille.store(int(std::clamp<qint64>(done, 0, total) * 1000 / total), std::memory_order_relaxed);
    }
    // In thousandths; none while the work has not told.
    std::optional<int> permille() const
    {
        const int permille = m_permille.load(std::memory_order_relaxed);
        return permille < 0 ? std::nullopt : std::optional<int>(permille);
    }

private:
    std::atomic<int> m_permille{-1};
};

} // namespace lexi
