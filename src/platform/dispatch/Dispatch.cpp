#include "Dispatch.h"

#include "platform/ports/Console.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#if defined(Q_OS_LINUX)
#include <pthread.h>
#include <sched.h>
#endif

using namespace Qt::StringLiterals;

namespace lexi::dispatch {

namespace {

// A pool thread woken for a block would otherwise often take the waking thread's processor at
// once, and the main thread would wait for the block's end in the middle of a turn of its event
// loop. Batch threads get their fair share of time but do not preempt on waking.
void runAsBatchThread()
{
#if defined(Q_OS_LINUX)
    // Once for each thread; a thread the system keeps from batch runs its blocks all the same.
    thread_local const bool isBatch = [] {
        const sched_param parameters{};
        return pthread_setschedparam(pthread_self(), SCHED_BATCH, &parameters) == 0;
    }();
    Q_UNUSED(isBatch);
#endif
}

} // namespace

void globalAsync(Block block)
{
    QThreadPool::globalInstance()->start([block = std::move(block)] {
        runAsBatchThread();
        block();
    });
}

void mainAsync(Block block)
{
    auto *application = QCoreApplication::instance();
    if (!application) {
        Console::writeLine(u"dispatch > main queue > no application object, block dropped"_s);
        return;
    }
    QMetaObject::invokeMethod(application, std::move(block), Qt::QueuedConnection);
}

bool isMainThread()
{
    const auto *application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

} // namespace lexi::dispatch
