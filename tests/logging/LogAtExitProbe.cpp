#include "logging/QLXLogMacros.h"
#include "logging/QLXTTYLogger.h"

#include <QCoreApplication>

namespace {
constexpr int qlxLogLevel = QLXLogLevelVerbose;
}

// Logs asynchronously and ends at once: what it logged must still reach standard error. With the
// argument "quit" the application object quits first, as the program does.
int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QLXLog::addLogger(QLXTTYLogger::sharedInstance());
    for (int i = 0; i < 100; ++i)
        QLXLogInfo("probe > record %d", i);
    if (argc > 1 && QByteArrayView(argv[1]) == "quit") {
        QMetaObject::invokeMethod(&application, &QCoreApplication::quit, Qt::QueuedConnection);
        return application.exec();
    }
    return 0;
}
