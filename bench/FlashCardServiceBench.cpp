#include "support/GeneratedVocabulary.h"
#include "support/NullWorkspace.h"
#include "support/RecordingKeeper.h"
#include "support/RunBenchmarks.h"

#include "flashcard-service/QuizletImport.h"
#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// A set of 2,000 terms: one in ten equal to a word of `vocabulary`, the others new.
QLXQuizletSet largeSet(const Lexicarta &vocabulary)
{
    const lexi::WordList words = vocabulary.allWords();
    QList<QLXQuizletTerm> terms;
    for (int index = 0; index < 2000; ++index) {
        if (index % 10 == 0) {
            const QLXWord &known = *words[index * 7];
            terms.append(QLXQuizletTerm::quizletTermWithYourWord(known.yourWord(), known.foreignWord()));
        } else {
            terms.append(QLXQuizletTerm::quizletTermWithYourWord(u"term %1"_s.arg(index), u"Begriff %1"_s.arg(index)));
        }
    }
    QLXQuizletSet set;
    set.setTitle(u"Kitchen A1"_s);
    set.setTerms(terms);
    return set;
}

// Importing a set of 2,000 terms into the generated vocabulary of 50,000 words: the index of its
// words, the new words with their identifiers, the batch with its derived data, and the save
// handed to the background saver; everything the main thread does for it.
void BM_ImportLargeSet(benchmark::State &state)
{
    lexi::bench::BenchmarkServices services;
    QTemporaryDir folder;
    lexi::ApplicationFolders folders(folder.path());
    lexi::test::NullWorkspace workspace;
    QLXStorageManager store(folders, services.services(), workspace);
    lexi::test::RecordingSyncRequests sync;
    lexi::VocabularyKeeper keeper([&](const Lexicarta &saved) { return store.saveVocabulary(&saved); }, sync);
    for (auto _ : state) {
        state.PauseTiming();
        std::shared_ptr<Lexicarta> vocabulary = lexi::bench::generateVocabulary(services.services());
        vocabulary->setForeignLanguageName(u"German"_s);
        vocabulary->setYourLanguageName(u"English"_s);
        // As after the word list has shown the vocabulary.
        vocabulary->synonyms();
        const QLXQuizletSet set = largeSet(*vocabulary);
        keeper.setVocabulary(vocabulary);
        state.ResumeTiming();

        const std::optional<lexi::QuizletImportCounts> counts = lexi::importQuizletSet(set, false, keeper);

        state.PauseTiming();
        if (!counts || counts->added != 1800 || counts->alreadyThere != 200)
            std::abort();
        store.flushSaves();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_ImportLargeSet)->Unit(benchmark::kMillisecond)->Iterations(10);


} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    return lexi::bench::runBenchmarks(argc, argv);
}
