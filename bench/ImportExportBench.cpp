#include "support/GeneratedVocabulary.h"

#include "model/ExportCopy.h"
#include "model/TextImport.h"
#include "model/VocabularyExport.h"
#include "platform/ports/Console.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>

using namespace Qt::StringLiterals;

// The import and export sheets' work at 50,000 words: what runs on the main thread (taking the
// export's copy, adding imported words) and what runs on a worker (making the copy whole,
// reading a text file, writing each format).
namespace {

constexpr std::array<bool, 6> everyLevel{true, true, true, true, true, true};

// The main thread's share of starting an export: copies of the chosen words.
void BM_ExportCopyOnTheMainThread(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    for (auto _ : state)
        benchmark::DoNotOptimize(lexi::ExportCopy(*vocabulary, {everyLevel, {u"all"_s}, true}));
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK(BM_ExportCopyOnTheMainThread)->Unit(benchmark::kMillisecond);

// The worker's share: the copy made whole and written, in each format.
void BM_Export(benchmark::State &state, lexi::ExportFormat format)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    QTemporaryDir folder;
    const QString path = folder.filePath(u"export"_s);
    const std::atomic<bool> cancelled = false;
    for (auto _ : state) {
        state.PauseTiming();
        lexi::ExportCopy copy(*vocabulary, {everyLevel, {u"all"_s}, true});
        state.ResumeTiming();
        if (!lexi::writeExport(*std::move(copy).take(), path, format, {true, true, true, true}, cancelled).written)
            std::abort();
    }
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK_CAPTURE(BM_Export, OwnFormat, lexi::ExportFormat::ownFormat)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, OlderArchive, lexi::ExportFormat::olderArchive)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, Text, lexi::ExportFormat::text)->Unit(benchmark::kMillisecond);

// 50,000 text words, half of them new, into a vocabulary of 50,000 whose lists have been shown:
// the worker reads the file, the main thread adds the new words.
void BM_ImportText(benchmark::State &state, bool mainThreadOnly)
{
    const lexi::bench::BenchmarkServices services;
    const auto source = lexi::bench::generateVocabulary(services.services(), 50000, 1);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"words.csv"_s);
    const std::atomic<bool> cancelled = false;
    if (!lexi::writeExport(*source, path, lexi::ExportFormat::text, {true, true, false, true}, cancelled).written)
        std::abort();
    lexi::Console::setSink([](const QString &) {});
    // Made and dropped while the clock stands.
    std::shared_ptr<Lexicarta> vocabulary;
    std::optional<lexi::TextImport> import;
    for (auto _ : state) {
        state.PauseTiming();
        import.reset();
        vocabulary = lexi::bench::generateVocabulary(services.services(), 25000);
        lexi::WordList half;
        for (const std::shared_ptr<QLXWord> &word : source->allWords().sliced(0, 25000))
            half.append(word->copy());
        vocabulary->batchAddWords(half);
        // As the open vocabulary is: its list, tag cloud and synonyms shown once.
        vocabulary->level0Words();
        vocabulary->allTags();
        vocabulary->synonyms();
        if (!mainThreadOnly)
            state.ResumeTiming();
        import = lexi::TextImport::read(path, false);
        if (mainThreadOnly)
            state.ResumeTiming();
        const lexi::ImportCount count = import->addNewWordsTo(*vocabulary);
        state.PauseTiming();
        state.counters["added"] = double(count.added);
        state.counters["alreadyThere"] = double(count.alreadyThere);
        state.ResumeTiming();
    }
    lexi::Console::setSink({});
    state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK_CAPTURE(BM_ImportText, InAll, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportText, OnTheMainThread, true)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
