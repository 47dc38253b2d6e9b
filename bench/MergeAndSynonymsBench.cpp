#include "support/BareBzip2.h"
#include "support/GeneratedVocabulary.h"

#include "model/Bzip2.h"
#include "platform/ports/Console.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <benchmark/benchmark.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Another version of the generated vocabulary, as another machine has it: every tenth word
// edited there, and one word in fifty added there.
std::shared_ptr<Lexicarta> otherVersion(const lexi::VocabularyServices &services, int wordCount)
{
    const auto version = lexi::bench::generateVocabulary(services, wordCount);
    lexi::WordList words = version->allWords();
    const qint64 editedAt = qint64(services.clock.now().secondsSince1970());
    for (int i = 0; i < wordCount; i += 10) {
        words[i]->setModificationID(editedAt);
        words[i]->setComment(u"edited elsewhere"_s);
    }
    const qint64 firstNewID = words.last()->creationID() + 1;
    const auto added = lexi::bench::generateVocabulary(services, wordCount / 50, 7);
    for (const auto &word : added->allWords()) {
        word->setCreationID(firstNewID + (words.size() - wordCount));
        word->setWeakVocForSort(version);
        words.append(word);
    }
    version->setAllWords(words);
    return version;
}

// Merges another version (otherVersion) into a vocabulary of `wordCount` words in each
// iteration, after `prepare` has been given both.
void measureMerges(benchmark::State &state, int wordCount, const std::function<void(Lexicarta &)> &prepare)
{
    const lexi::bench::BenchmarkServices services;
    std::shared_ptr<Lexicarta> vocabulary;
    std::shared_ptr<Lexicarta> other;
    for (auto _ : state) {
        state.PauseTiming();
        // The vocabularies of the iteration before are freed while the clock stands: freeing
        // their words is no part of what is measured.
        vocabulary.reset();
        other.reset();
        vocabulary = lexi::bench::generateVocabulary(services.services(), wordCount);
        other = otherVersion(services.services(), wordCount);
        prepare(*vocabulary);
        prepare(*other);
        state.ResumeTiming();
        vocabulary->mergeWithOtherVersion(*other);
        benchmark::DoNotOptimize(vocabulary->countAllWords());
    }
    state.SetItemsProcessed(state.iterations() * wordCount);
}

// Merging another version into the vocabulary: 5,000 edits and 1,000 new words at 50,000.
void BM_MergeWithOtherVersion(benchmark::State &state)
{
    measureMerges(state, int(state.range(0)), [](Lexicarta &) {});
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MergeWithOtherVersion)->RangeMultiplier(2)->Range(6250, 50000)->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond);

// The same merge where the words share a few identifiers, as an older program version gave
// each imported batch one: five identifiers of 10,000 words each.
void BM_MergeWithSharedIdentifiers(benchmark::State &state)
{
    measureMerges(state, 50000, [](Lexicarta &vocabulary) {
        const lexi::WordList words = vocabulary.allWords();
        for (qsizetype i = 0; i < words.size(); ++i)
            words[i]->setCreationID(1 + i / 10000);
    });
}
BENCHMARK(BM_MergeWithSharedIdentifiers)->Unit(benchmark::kMillisecond);

// Joining an imported vocabulary of as many words, one in five of them already here.
void BM_JoinWithVocabulary(benchmark::State &state)
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
        for (int i = 0; i < words.size(); i += 5)
            words[i] = present[i]->copy();
        imported->setAllWords(words);
        state.ResumeTiming();
        vocabulary->joinWithVocabulary(*imported, false);
        benchmark::DoNotOptimize(vocabulary->countAllWords());
    }
    state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(BM_JoinWithVocabulary)->Unit(benchmark::kMillisecond);

// Deleting duplicates when 5,000 words are there twice.
void BM_DeleteDuplicates(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    std::shared_ptr<Lexicarta> vocabulary;
    for (auto _ : state) {
        state.PauseTiming();
        vocabulary.reset();
        vocabulary = lexi::bench::generateVocabulary(services.services());
        lexi::WordList words = vocabulary->allWords();
        for (int i = 0; i < 50000; i += 10)
            words.append(words[i]->copy());
        vocabulary->setAllWords(words);
        state.ResumeTiming();
        benchmark::DoNotOptimize(vocabulary->deleteDuplicates());
    }
    state.SetItemsProcessed(state.iterations() * 55000);
}
BENCHMARK(BM_DeleteDuplicates)->Unit(benchmark::kMillisecond);

// Finding the synonyms of the words in the order a file stores them (by level).
void BM_BuildSynonyms(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    lexi::WordList byLevel;
    for (quint64 level = 0; level <= 5; ++level)
        byLevel += vocabulary->wordsInLevel(level);
    for (auto _ : state) {
        state.PauseTiming();
        vocabulary->setAllWords(byLevel);
        state.ResumeTiming();
        vocabulary->buildSynonyms();
    }
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK(BM_BuildSynonyms)->Unit(benchmark::kMillisecond);

void BM_BuildTagsIndex(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    for (auto _ : state)
        vocabulary->buildTagsIndex();
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK(BM_BuildTagsIndex)->Unit(benchmark::kMillisecond);

// One keystroke of tag completion on the built index.
void BM_CompletionTagsForPrefix(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    vocabulary->buildTagsIndex();
    const lexi::Console::Sink previous = lexi::Console::setSink([](const QString &) {});
    for (auto _ : state)
        benchmark::DoNotOptimize(vocabulary->completionTagsForPrefix(u"topic-1"_s));
    lexi::Console::setSink(previous);
}
BENCHMARK(BM_CompletionTagsForPrefix)->Unit(benchmark::kMicrosecond);

// For comparison, the least that loading the vocabulary from disk does: decompressing the JSON
// text of its words and reading every word from it (without the file, the names and the
// statistics).
void BM_ReadWordsFromCompressedJson(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    QJsonArray dictionaries;
    for (const auto &word : vocabulary->allWords())
        dictionaries.append(word->dictionaryRepresentation());
    const QByteArray text = QJsonDocument(dictionaries).toJson(QJsonDocument::Compact);
    const std::optional<QByteArray> packed = lexi::Bzip2::compressed(text);
    if (!packed) {
        state.SkipWithError("compression failed");
        return;
    }
    for (auto _ : state) {
        const QByteArray unpacked = lexi::bench::bareBzip2Decompressed(*packed, text.size());
        const QJsonArray read = QJsonDocument::fromJson(unpacked).array();
        lexi::WordList words;
        words.reserve(read.size());
        for (const auto &dictionary : read)
            words.append(QLXWord::initWithDictionary(dictionary.toObject()));
        const auto loaded = Lexicarta::create(services.services());
        loaded->setAllWords(words);
        benchmark::DoNotOptimize(loaded->countAllWords());
    }
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK(BM_ReadWordsFromCompressedJson)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
