#pragma once

#include <QtGlobal>

#include <thread>
#include <type_traits>
#include <vector>

namespace lexi::dispatch {

// Below this many items a job is done on the calling thread: starting threads would cost more than
// they save.
inline constexpr qsizetype minimumItemsForSlices = 10000;
inline constexpr qsizetype sliceCount = 4;

// Runs `work(begin, end)` over [0, count) and returns what it returned for each slice, in order:
// for a large count in sliceCount slices at once, the first on the calling thread. Returns when
// every slice is done. The slices must not change what another slice reads.
template<typename Work>
auto mapSlices(qsizetype count, Work work) -> std::vector<std::invoke_result_t<Work, qsizetype, qsizetype>>
{
    const qsizetype slices = count < minimumItemsForSlices ? 1 : sliceCount;
    std::vector<std::invoke_result_t<Work, qsizetype, qsizetype>> results(static_cast<std::size_t>(slices));
    {
        std::vector<std::jthread> threads;
        threads.reserve(static_cast<std::size_t>(slices - 1));
        for (qsizetype slice = 1; slice < slices; ++slice) {
            threads.emplace_back([&results, &work, count, slices, slice] {
                results[static_cast<std::size_t>(slice)] = work(count * slice / slices, count * (slice + 1) / slices);
            });
        }
        results[0] = work(qsizetype(0), count / slices);
    }
    return results;
}

// Runs `work(begin, end)` over [0, count) as mapSlices() does, for what it does.
template<typename Work>
void forSlices(qsizetype count, Work work)
{
    mapSlices(count, [&work](qsizetype begin, qsizetype end) {
        work(begin, end);
        return true;
    });
}

} // namespace lexi::dispatch
