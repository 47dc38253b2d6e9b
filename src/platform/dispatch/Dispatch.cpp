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

// The pool's blocks are background work that can wait. In the idle class their threads run only
// where a processor has nothing else to do, and give it up the moment another thread wakes there:
// otherwise the main thread, or the display server it waits for in a frame, waits for the end of
// a pool thread's slice of a few milliseconds, and the frame comes late. The system allows no way
// back from the idle class without privileges; the pool's threads never need one.
void runAsIdleThread()
{
#if defined(Q_OS_LINUX)
    // Once for each thread; a thread the system keeps from the idle class runs its blocks all the same.
    thread_local const bool isIdle = [] {
        const sched_param parameters{};
        return pthread_setschedparam(pthread_self(), SCHED_IDLE, &parameters) == 0;
    }();
    Q_UNUSED(isIdle);
#endif
}

} // namespace

void globalAsync(Block block)
{
    QThreadPool::globalInstance()->start([block = std::move(block)] {
        runAsIdleThread();
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
