#include "support/GeneratedVocabulary.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// Due words of every level with the lists cached, as the quiz set-up asks for them.
void BM_WordsOverDueAllLevels(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services(), int(state.range(0)));
    vocabulary->level0Words();
    for (auto _ : state) {
        for (quint64 level = 0; level <= 5; ++level)
            benchmark::DoNotOptimize(vocabulary->wordsOverDueFromLevel(level, {}, false));
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WordsOverDueAllLevels)->RangeMultiplier(2)->Range(6250, 50000)->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond);

// The same, only words carrying one of two common tags.
void BM_WordsOverDueWithTags(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    const QStringList tags = {u"topic-0"_s, u"topic-1"_s};
    vocabulary->level0Words();
    for (auto _ : state) {
        for (quint64 level = 0; level <= 5; ++level)
            benchmark::DoNotOptimize(vocabulary->wordsOverDueFromLevel(level, tags, false));
    }
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK(BM_WordsOverDueWithTags)->Unit(benchmark::kMillisecond);

// Building the per-level lists again after an answer dropped them.
void BM_LevelListsRebuild(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    for (auto _ : state) {
        vocabulary->invalidateCachedWordLists();
        benchmark::DoNotOptimize(vocabulary->level0Words());
    }
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK(BM_LevelListsRebuild)->Unit(benchmark::kMillisecond);

// One answer on the generated vocabulary: the level move, the list rebuild and today's snapshot.
void BM_AnsweredWord(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    const auto word = vocabulary->allWords().front();
    int outcome = 1;
    for (auto _ : state) {
        vocabulary->answeredWord(*word, outcome);
        outcome = -outcome;
    }
}
BENCHMARK(BM_AnsweredWord)->Unit(benchmark::kMillisecond);

// Removing 10,000 of the words at once, as the list does with a selection, after the synonyms
// have been found.
void BM_RemoveWords(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    std::shared_ptr<Lexicarta> vocabulary;
    for (auto _ : state) {
        state.PauseTiming();
        vocabulary.reset();
        vocabulary = lexi::bench::generateVocabulary(services.services());
        vocabulary->synonyms();
        lexi::WordList selected;
        const lexi::WordList words = vocabulary->allWords();
        for (qsizetype i = 0; i < words.size(); i += 5)
            selected.append(words[i]);
        state.ResumeTiming();
        vocabulary->removeWords(selected);
        benchmark::DoNotOptimize(vocabulary->synonyms());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_RemoveWords)->Unit(benchmark::kMillisecond);

// The first word added after a load, as the list's add button does it: a new identifier none of
// the words has, found while the identifiers in use are not known yet.
void BM_FirstAddAfterLoad(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services(), int(state.range(0)));
    const lexi::WordList loaded = vocabulary->allWords();
    for (auto _ : state) {
        state.PauseTiming();
        // The words as a load leaves them: nothing derived from them is known.
        vocabulary->setAllWords(loaded);
        state.ResumeTiming();
        vocabulary->addWord(std::make_shared<QLXWord>());
    }
}
BENCHMARK(BM_FirstAddAfterLoad)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The first check for an equal word after a load, as the popover's Add does it, while the
// synonyms are not known.
void BM_FirstDuplicateCheckAfterLoad(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services(), int(state.range(0)));
    const lexi::WordList loaded = vocabulary->allWords();
    const QLXWord candidate(u"a new word"_s, u"ein neues Wort"_s);
    for (auto _ : state) {
        state.PauseTiming();
        vocabulary->setAllWords(loaded);
        state.ResumeTiming();
        benchmark::DoNotOptimize(vocabulary->containsWordEqualTo(candidate));
    }
}
BENCHMARK(BM_FirstDuplicateCheckAfterLoad)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

// Each add after the first: a new identifier and the check for an equal word, with what they
// need known.
void BM_NextAdd(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services(), int(state.range(0)));
    vocabulary->addWord(std::make_shared<QLXWord>());
    vocabulary->containsWordEqualTo(QLXWord());
    int number = 0;
    for (auto _ : state) {
        const QLXWord candidate(u"a new word %1"_s.arg(number), u"ein neues Wort %1"_s.arg(number));
        ++number;
        vocabulary->addWord(std::make_shared<QLXWord>());
        benchmark::DoNotOptimize(vocabulary->containsWordEqualTo(candidate));
    }
}
BENCHMARK(BM_NextAdd)->Arg(50000)->Arg(200000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
