#include "logging/QLXLogMacros.h"
#include "logging/QLXTTYLogger.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int qlxLogLevel = QLXLogLevelWarn;

// A report the source file's mask excludes: the cost every verbose call site pays.
void BM_MaskedOutCall(benchmark::State &state)
{
    int evaluated = 0;
    for (auto _ : state)
        QLXLogVerbose("never built %d", ++evaluated);
    benchmark::DoNotOptimize(evaluated);
}
BENCHMARK(BM_MaskedOutCall);

// One terminal line, written to /dev/null.
void BM_TerminalLine(benchmark::State &state)
{
    const int devNull = ::open("/dev/null", O_WRONLY);
    QLXTTYLogger logger({devNull, u"Lexicarta"_s, 512, QLXTTYColorMode::None});
    const QLXLogMessage message(u"DB > sync > uploaded French - English.qlxv"_s, 31, QLXLogFlagInfo, 0,
                                __FILE__, "sync", __LINE__, QString(), 0);
    for (auto _ : state)
        logger.logMessage(message);
    ::close(devNull);
}
BENCHMARK(BM_TerminalLine);

// A warning through the dispatcher to the terminal logger (on /dev/null), flushed per batch.
void BM_DispatchedWarning(benchmark::State &state)
{
    const int devNull = ::open("/dev/null", O_WRONLY);
    auto logger = std::make_shared<QLXTTYLogger>(
        QLXTTYLogger::Terminal{devNull, u"Lexicarta"_s, 512, QLXTTYColorMode::None});
    QLXLog::addLogger(logger);
    for (auto _ : state)
        QLXLogWarn("DB > sync > %@ has %ld words", u"French - English"_s, 5000);
    QLXLog::flushLog();
    QLXLog::removeAllLoggers();
    QLXLog::flushLog();
    ::close(devNull);
}
BENCHMARK(BM_DispatchedWarning);

} // namespace

BENCHMARK_MAIN();
