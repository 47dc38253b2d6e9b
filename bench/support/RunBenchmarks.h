#pragma once

#include <benchmark/benchmark.h>

namespace lexi::bench {

// Runs the benchmarks the command line names, as the benchmark library's own main does; what main
// returns.
inline int runBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace lexi::bench
