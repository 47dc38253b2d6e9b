#include "support/GeneratedVocabulary.h"

#include "quiz/QLXQuizInterface.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// A quiz on the generated vocabulary, with the per-level lists built as after loading.
class QuizOnVocabulary
{
public:
    explicit QuizOnVocabulary(int wordCount = 50000)
        : m_vocabulary(lexi::bench::generateVocabulary(m_services.services(), wordCount))
    {
        m_vocabulary->level0Words();
        m_quiz.setVocabulary(m_vocabulary);
    }

    QLXQuizInterface &quiz() { return m_quiz; }

    // Chooses a run of `wanted` words as a quiz start does.
    void choose(qint64 wanted)
    {
        m_quiz.setNumberOfWordsToAsk(wanted);
        m_quiz.createWordsToAsk();
        benchmark::DoNotOptimize(m_quiz.wordsToAsk().data());
    }

private:
    lexi::bench::BenchmarkServices m_services;
    std::shared_ptr<Lexicarta> m_vocabulary;
    QTemporaryDir m_folder;
    lexi::Defaults m_defaults{m_folder.filePath(u"Lexicarta.conf"_s)};
    QLXQuizInterface m_quiz{m_defaults};
};

// A run of 30 words, levels 0 to 4, from vocabularies of growing size: the due words of five
// levels are sorted, 30 of them drawn, shuffled and grouped.
void BM_CreateWordsToAsk(benchmark::State &state)
{
    QuizOnVocabulary setup(int(state.range(0)));
    for (auto _ : state)
        setup.choose(30);
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CreateWordsToAsk)->RangeMultiplier(2)->Range(6250, 50000)->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond);

// The same with native words and a filter of two common tags.
void BM_CreateWordsToAskWithTags(benchmark::State &state)
{
    QuizOnVocabulary setup;
    setup.quiz().setAskNative(true);
    setup.quiz().setFilterTags({u"topic-0"_s, u"topic-1"_s});
    for (auto _ : state)
        setup.choose(30);
    state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(BM_CreateWordsToAskWithTags)->Unit(benchmark::kMillisecond);

// Every level and as many words as the vocabulary holds: the due words are not enough, so the
// fill-up draws the rest, and the whole vocabulary is shuffled and grouped.
void BM_CreateWordsToAskWholeVocabulary(benchmark::State &state)
{
    QuizOnVocabulary setup;
    setup.quiz().setAskNative(true);
    for (auto _ : state)
        setup.choose(50000);
    state.counters["words"] = double(setup.quiz().numberOfWordsToAsk());
    state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(BM_CreateWordsToAskWholeVocabulary)->Unit(benchmark::kMillisecond);

// A pasted text of growing length judged against a word of 17 units: time grows with the text,
// memory stays that of the word.
void BM_DistanceOfAPastedAnswer(benchmark::State &state)
{
    const QString expected = u"der Schmetterling"_s;
    const QString answer = QString(state.range(0), u'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(QLXQuizInterface::distanceBetween(expected, answer));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DistanceOfAPastedAnswer)->RangeMultiplier(4)->Range(16, 65536)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
