#pragma once

#include "platform/dispatch/Block.h"

#include <QString>

#include <functional>
#include <memory>

namespace lexi {

// Writes files on a worker thread of its own, so that the main thread only hands over what to
// write and goes on at once.
//
// - A save is a job for one path. It runs on the worker and returns what the main thread must do
//   afterwards (show the alert of a failed save), or an empty block.
// - Jobs run one at a time, in the order they were handed over, so saves of one file land in
//   order. A job for a path whose previous job is still waiting replaces that job in its place:
//   only the newest snapshot of a file is written, never an older one after it.
// - While an animation plays on the main thread (dispatch::ForegroundAnimation), a save waits for
//   its end before it begins, two seconds at most, unless a flush waits for it: a new snapshot of
//   the same file meanwhile replaces it.
// - Follow-ups run on the main thread, posted to its event loop; flush() called there runs those
//   that are due at once, so a test or the quit sees every failure before going on.
//
// Thread-safe: any thread may hand over saves and flush.
class VocabularySaver
{
public:
    using Job = std::function<dispatch::Block()>;

    VocabularySaver();
    // Flushes, then ends the worker.
    ~VocabularySaver();
    VocabularySaver(const VocabularySaver &) = delete;
    VocabularySaver &operator=(const VocabularySaver &) = delete;

    // Hands over the job writing `path`; returns at once.
    void save(const QString &path, Job job);
    // Waits until every job handed over so far has run. On the main thread it then runs the
    // follow-ups they left; elsewhere those stay posted to the main thread.
    void flush();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace lexi
