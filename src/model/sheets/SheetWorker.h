#pragma once

#include "platform/dispatch/SerialQueue.h"
#include "platform/dispatch/WorkProgress.h"

#include <QCoreApplication>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

namespace lexi {

// Runs work on a whole file (a sheet's import or export, the read of a file a synchronisation
// changed) off the main thread, one job at a time, and hands each result back on the main thread.
// A cancelled job's result is dropped, and so is that of a job a newer one replaced; the work
// itself may look at its flag to stop early, and may tell how far it has come.
class SheetWorker
{
public:
    // `owner` is the object the results are for. The worker is one of its members: the owner is
    // there while a job runs, and a result still on its way when the owner goes is dropped.
    explicit SheetWorker(QObject *owner) : m_owner(owner) {}

    // Returns what the work tells of its progress.
    template<typename Result>
    std::shared_ptr<const WorkProgress> start(
        std::function<Result(const std::atomic<bool> &cancelled, WorkProgress &progress)> work,
        std::function<void(Result)> done)
    {
        cancel();
        ++m_started;
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        auto progress = std::make_shared<WorkProgress>();
        m_cancelled = cancelled;
        m_queue.async([owner = m_owner, cancelled, progress, work = std::move(work),
                       done = std::move(done)]() mutable {
            auto result = std::make_shared<Result>(work(*cancelled, *progress));
            QMetaObject::invokeMethod(
                owner, [cancelled, result, done = std::move(done)] {
                    if (!*cancelled)
                        done(std::move(*result));
                },
                Qt::QueuedConnection);
        });
        return progress;
    }

    // Lets go of `held` on the worker's thread, after the jobs before, so that the owner's thread
    // does not wait for a large result to go; cancels nothing.
    void release(std::shared_ptr<const void> held)
    {
        m_queue.async([held = std::move(held)]() mutable { held.reset(); });
    }

    // Drops the running job's result and tells its work to stop.
    void cancel()
    {
        if (m_cancelled)
            *m_cancelled = true;
        m_cancelled.reset();
    }

    // Waits until every job has run and hands its result over, also of a job a result started:
    // for tests, which have no event loop running.
    void finishPendingWork()
    {
        quint64 started = 0;
        do {
            started = m_started;
            m_queue.sync([] {});
            QCoreApplication::sendPostedEvents(m_owner, QEvent::MetaCall);
        } while (started != m_started);
    }

private:
    QObject *m_owner;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    // How many jobs were started, on the owner's thread.
    quint64 m_started = 0;
    // Last: its thread ends, running what is queued, before anything above goes.
    dispatch::SerialQueue m_queue;
};

} // namespace lexi
