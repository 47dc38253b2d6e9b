#include "support/RunBenchmarks.h"

#include <QApplication>

// Benchmarks of widgets need an application object that can make them; they are drawn offscreen
// unless QT_QPA_PLATFORM names another platform.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return lexi::bench::runBenchmarks(argc, argv);
}
