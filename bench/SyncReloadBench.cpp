#include "support/GeneratedVocabulary.h"
#include "support/RunBenchmarks.h"
#include "support/OfflinePorts.h"
#include "support/StallFigures.h"
#include "support/StallMeter.h"

#include "model/QLXStorageManager.h"
#include "model/QLXWord.h"
#include "model/VocabularyKeeper.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/Settings.h"
#include "platform/ports/Console.h"
#include "shell/Installation.h"
#include "shell/InstallationLaunchServices.h"
#include "shell/MainInterface.h"

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The main thread's share of taking in a synchronisation's result at 60,000 words: the program's
// main window with its real pages, the open vocabulary's file rewritten as a synchronisation
// leaves it, then the synchronisation's end told to the window. Each step is measured by the main
// thread's longest stall (StallMeter) over a window long enough for the file to be read and the
// result shown; "median_ms" and "max_ms" are taken over the steps.

namespace {

constexpr int wordCount = 60000;

// The program's window over an installation holding the generated vocabulary, and two results a
// synchronisation could leave in its file (the vocabulary with one word more from elsewhere, and
// with two), written in turn so that every step finds a file that changed.
class ReloadFixture
{
public:
    ReloadFixture()
    {
        lexi::Console::setSink([](const QString &) {});
        installation = ports.installation(folder.path());
        installation->defaults().setBool(lexi::Settings::hasShownVocabularyHelp.name, true);
        QLXStorageManager &storage = installation->storage();
        const auto vocabulary = lexi::bench::generateVocabulary(installation->services(), wordCount);
        storage.saveVocabulary(vocabulary.get());
        storage.flushSaves();
        path = *storage.savePathForVocabulary(*vocabulary);
        for (const QString &word : {u"from elsewhere"_s, u"also from elsewhere"_s}) {
            vocabulary->addWord(std::make_shared<QLXWord>(word, word));
            results.push_back(*QLXStorageManager::ownFormatData(lexi::VocabularySnapshot(*vocabulary)));
        }

        interface = std::make_unique<lexi::MainInterface>(*installation, moveOffer);
        interface->awakeFromNib();
        window().mainWindow()->resize(1180, 760);
        window().mainWindow()->show();
        lexi::bench::StallMeter::runEventLoop(800ms);
    }

    QLXMainWindowController &window() { return interface->mainWindowController(); }

    // The synchronisation's result replaces the file, as its run writes it.
    void writeNextResult()
    {
        lexi::writeFileAtomically(path, results[m_next]);
        m_next = (m_next + 1) % results.size();
    }

    QTemporaryDir folder;
    lexi::bench::OfflinePorts ports;
    lexi::NoMoveToApplicationsOffer moveOffer;
    std::unique_ptr<lexi::Installation> installation;
    std::unique_ptr<lexi::MainInterface> interface;
    QString path;
    std::vector<QByteArray> results;
    lexi::bench::StallMeter meter;

private:
    std::size_t m_next = 0;
};

// Made at the first benchmark's start and ended before the application object, which its
// windows need.
std::unique_ptr<ReloadFixture> theFixture;

ReloadFixture &fixture()
{
    if (!theFixture)
        theFixture = std::make_unique<ReloadFixture>();
    return *theFixture;
}

// The vocabulary open in the window has no change of its own: the result replaces it.
void BM_ReloadAfterSynchronisation(benchmark::State &state)
{
    ReloadFixture &reload = fixture();
    lexi::bench::StallFigures stalls(state);
    for (auto _ : state) {
        reload.writeNextResult();
        const std::shared_ptr<Lexicarta> before = reload.window().currentVocabulary();
        stalls.record(reload.meter.measure([&] { reload.window().dropboxControllerDidFinishSync(); }, 2500ms));
        if (reload.window().currentVocabulary() == before)
            state.SkipWithError("the synchronisation's result was not taken in");
    }
}
BENCHMARK(BM_ReloadAfterSynchronisation)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

// What taking in the result costs the main thread when the learner changed the open vocabulary
// since its file was saved: the result, read already, merged into it, shown and handed to the saver.
void BM_MergeResultIntoChangedVocabulary(benchmark::State &state)
{
    ReloadFixture &reload = fixture();
    lexi::VocabularyKeeper &keeper = reload.interface->vocabularyPage().keeper();
    lexi::bench::StallFigures stalls(state);
    int number = 0;
    for (auto _ : state) {
        reload.writeNextResult();
        const std::shared_ptr<Lexicarta> result = reload.installation->storage().vocabularyFromFile(reload.path);
        const std::shared_ptr<Lexicarta> open = keeper.vocabulary();
        open->addWord(std::make_shared<QLXWord>(u"learnt here %1"_s.arg(number), u"hier gelernt %1"_s.arg(number)));
        ++number;
        stalls.record(reload.meter.measure(
            [&] {
                open->mergeWithOtherVersion(*result);
                open->setVersion(result->version());
                keeper.setVocabulary(open);
                keeper.recordChange();
            },
            1500ms));
        reload.installation->storage().flushSaves();
    }
}
BENCHMARK(BM_MergeResultIntoChangedVocabulary)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same through the window: the learner adds a word just as a synchronisation ends, so the
// result is merged into the vocabulary that changed; the main thread's longest stall while the
// file is read, merged into a copy off the main thread and taken in, shown and handed to the saver.
void BM_TakeInResultMergedOffTheMainThread(benchmark::State &state)
{
    ReloadFixture &reload = fixture();
    lexi::VocabularyKeeper &keeper = reload.interface->vocabularyPage().keeper();
    lexi::bench::StallFigures stalls(state);
    int number = 0;
    for (auto _ : state) {
        reload.writeNextResult();
        const std::shared_ptr<Lexicarta> open = keeper.vocabulary();
        const QString learnt = u"learnt while synchronising %1"_s.arg(number++);
        stalls.record(reload.meter.measure(
            [&] {
                reload.window().dropboxControllerDidFinishSync();
                open->addWord(std::make_shared<QLXWord>(learnt, learnt));
                keeper.recordChange();
            },
            2500ms));
        reload.installation->storage().flushSaves();
        const auto has = [&](const QString &word) {
            const auto words = keeper.vocabulary()->allWords();
            return std::any_of(words.cbegin(), words.cend(), [&](const auto &w) { return w->yourWord() == word; });
        };
        if (keeper.vocabulary() != open || !has(learnt) || !has(u"from elsewhere"_s))
            state.SkipWithError("the result was not merged with the learner's word");
    }
}
BENCHMARK(BM_TakeInResultMergedOffTheMainThread)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

// Drawn offscreen unless QT_QPA_PLATFORM names another platform.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int result = lexi::bench::runBenchmarks(argc, argv);
    theFixture.reset();
    return result;
}
