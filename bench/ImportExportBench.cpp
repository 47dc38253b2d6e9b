#include "support/GeneratedVocabulary.h"

#include "model/ExportCopy.h"
#include "model/TextImport.h"
#include "model/VocabularyExport.h"
#include "model/VocabularyFileImport.h"
#include "platform/ports/Console.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>

using namespace Qt::StringLiterals;

// The import and export sheets' work at 50,000 words: what runs on the main thread (taking the
// export's copy, taking imported words in) and what runs on a worker (making the copy whole,
// reading a text file, choosing the words to add, writing each format).
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

// The worker's share until the file is written: the copy made whole and written, in each format
// (the copy is dropped after the result is handed over).
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
        std::shared_ptr<Lexicarta> taken = std::move(copy).take();
        if (!lexi::writeExport(*taken, path, format, {true, true, true, true}, cancelled).written)
            std::abort();
        state.PauseTiming();
        taken.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK_CAPTURE(BM_Export, OwnFormat, lexi::ExportFormat::ownFormat)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, OlderArchive, lexi::ExportFormat::olderArchive)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, Text, lexi::ExportFormat::text)->Unit(benchmark::kMillisecond);

// Each format's writer alone, writing the open vocabulary itself: what an export is held against.
void BM_Writer(benchmark::State &state, lexi::ExportFormat format)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    QTemporaryDir folder;
    const QString path = folder.filePath(u"export"_s);
    const std::atomic<bool> cancelled = false;
    for (auto _ : state) {
        if (!lexi::writeExport(*vocabulary, path, format, {true, true, true, true}, cancelled).written)
            std::abort();
    }
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK_CAPTURE(BM_Writer, OwnFormat, lexi::ExportFormat::ownFormat)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, OlderArchive, lexi::ExportFormat::olderArchive)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, Text, lexi::ExportFormat::text)->Unit(benchmark::kMillisecond);

// The open vocabulary as the list page leaves it: its synonyms found (which sorts the words
// once), then its level lists and tag cloud shown, so that an import keeps all of them.
void showLists(Lexicarta &vocabulary)
{
    vocabulary.synonyms();
    vocabulary.level0Words();
    vocabulary.allTags();
}

// 50,000 text words, half of them new, into a vocabulary of 50,000 whose lists have been shown:
// the worker reads the file and chooses the new words, the main thread takes what the worker
// starts from and then the words it prepared (dropping what they replace).
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
        showLists(*vocabulary);
        if (!mainThreadOnly)
            state.ResumeTiming();
        import = lexi::TextImport::read(path, false);
        if (mainThreadOnly)
            state.ResumeTiming();
        std::optional<Lexicarta::PreparedAddition> addition = vocabulary->prepareAddition();
        if (mainThreadOnly)
            state.PauseTiming();
        const lexi::ImportCount count = import->chooseNewWords(*addition);
        if (mainThreadOnly)
            state.ResumeTiming();
        if (!vocabulary->addPrepared(std::move(*addition)))
            std::abort();
        addition.reset();
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

// A vocabulary file of 50,000 words, one in five of them present, joined into the open vocabulary
// of 50,000 whose lists have been shown: on the worker the words to join are chosen, on the main
// thread the addition is taken, then what it prepared.
void BM_JoinVocabularyFile(benchmark::State &state, bool mainThreadOnly)
{
    const lexi::bench::BenchmarkServices services;
    std::shared_ptr<Lexicarta> vocabulary;
    std::shared_ptr<Lexicarta> imported;
    for (auto _ : state) {
        state.PauseTiming();
        vocabulary.reset();
        imported.reset();
        vocabulary = lexi::bench::generateVocabulary(services.services());
        imported = lexi::bench::generateVocabulary(services.services(), 50000, 11);
        lexi::WordList words = imported->allWords();
        const lexi::WordList present = vocabulary->allWords();
        for (qsizetype i = 0; i < words.size(); i += 5)
            words[i] = present[i]->copy();
        imported->setAllWords(words);
        showLists(*vocabulary);
        state.ResumeTiming();
        std::optional<Lexicarta::PreparedAddition> addition = vocabulary->prepareAddition();
        if (mainThreadOnly)
            state.PauseTiming();
        const lexi::ImportCount count = lexi::VocabularyFileImport(imported).chooseWordsToJoin(*addition, true);
        if (mainThreadOnly)
            state.ResumeTiming();
        if (!vocabulary->addPrepared(std::move(*addition)))
            std::abort();
        addition.reset();
        state.PauseTiming();
        state.counters["added"] = double(count.added);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK_CAPTURE(BM_JoinVocabularyFile, InAll, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JoinVocabularyFile, OnTheMainThread, true)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
