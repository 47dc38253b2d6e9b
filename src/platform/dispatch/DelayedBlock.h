#pragma once

#include <atomic>
#include <memory>

namespace lexi::dispatch {

// The handle of a block that runs later (once, or repeatedly). The handle owns the block's turn:
// dropping it, or putting another handle in its place, cancels the block, so a block never runs
// after the object that holds its handle is gone or has scheduled its successor.
class DelayedBlock
{
public:
    DelayedBlock() = default;
    DelayedBlock(DelayedBlock &&other) noexcept = default;
    DelayedBlock &operator=(DelayedBlock &&other) noexcept;
    DelayedBlock(const DelayedBlock &) = delete;
    DelayedBlock &operator=(const DelayedBlock &) = delete;
    ~DelayedBlock() { cancel(); }

    void cancel();
    bool isPending() const;
    bool isCancelled() const;

private:
    friend class Scheduler;
    friend class SerialQueue;

    struct State
    {
        std::atomic<bool> cancelled = false;
        std::atomic<bool> finished = false;
    };

    explicit DelayedBlock(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    std::shared_ptr<State> m_state;
};

} // namespace lexi::dispatch
