#include "Dispatch.h"

#include "platform/ports/Console.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

using namespace Qt::StringLiterals;

namespace lexi::dispatch {

void globalAsync(Block block)
{
    QThreadPool::globalInstance()->start(std::move(block));
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
