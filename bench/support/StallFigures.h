#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace lexi::bench {

// The figures of one benchmark's steps, each measured by its longest stall of the main thread:
// each step's stall is its iteration time, and "median_ms" and "max_ms" are taken over the steps.
class StallFigures
{
public:
    explicit StallFigures(benchmark::State &state) : m_state(state) {}
    ~StallFigures()
    {
        if (m_samples.empty())
            return;
        std::sort(m_samples.begin(), m_samples.end());
        m_state.counters["median_ms"] = m_samples[m_samples.size() / 2];
        m_state.counters["max_ms"] = m_samples.back();
    }

    void record(std::chrono::duration<double, std::milli> stall)
    {
        m_samples.push_back(stall.count());
        m_state.SetIterationTime(stall.count() / 1000.0);
    }

private:
    benchmark::State &m_state;
    std::vector<double> m_samples;
};

} // namespace lexi::bench
