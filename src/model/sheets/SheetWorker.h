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

    // Drops the running job's result and tells its work to stop.
    void cancel()
    {
        if (m_cancelled)
            *m_cancelled = true;
        m_cancelled.reset();
    }

    // Waits until every job has run and hands its result over: for tests, which have no event
    // loop running.
    void finishPendingWork()
    {
        m_queue.sync([] {});
        QCoreApplication::sendPostedEvents(m_owner, QEvent::MetaCall);
    }

private:
    QObject *m_owner;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    // Last: its thread ends, running what is queued, before anything above goes.
    dispatch::SerialQueue m_queue;
};

} // namespace lexi
