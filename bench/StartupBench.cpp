#include "support/GeneratedVocabulary.h"
#include "support/OfflinePorts.h"

#include "model/QLXStorageManager.h"
#include "platform/files/Settings.h"
#include "platform/ports/Console.h"
#include "shell/Installation.h"
#include "shell/InstallationLaunchServices.h"
#include "shell/MainInterface.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace Qt::StringLiterals;

namespace {

// An installation whose vocabularies folder holds the generated 50,000-word vocabulary, and the
// program's own ports around it.
class StartupFixture
{
public:
    StartupFixture()
    {
        lexi::Console::setSink([](const QString &) {});
        const lexi::bench::BenchmarkServices services;
        const auto vocabulary = lexi::bench::generateVocabulary(services.services());
        makeInstallation();
        installation->storage().saveVocabulary(vocabulary.get());
        installation->storage().flushSaves();
        path = *installation->storage().savePathForVocabulary(*vocabulary);
        installation->defaults().setBool(lexi::Settings::hasShownVocabularyHelp.name, true);
    }

    void makeInstallation()
    {
        installation.reset();
        installation = ports.installation(folder.path());
    }

    QTemporaryDir folder;
    lexi::bench::OfflinePorts ports;
    std::unique_ptr<lexi::Installation> installation;
    QString path;
};

StartupFixture &fixture()
{
    static StartupFixture instance;
    return instance;
}

// What start-up cannot do faster than: one load of the vocabulary.
void BM_LoadVocabulary(benchmark::State &state)
{
    StartupFixture &startup = fixture();
    for (auto _ : state) {
        std::shared_ptr<Lexicarta> vocabulary = startup.installation->storage().vocabularyFromFile(startup.path);
        benchmark::DoNotOptimize(vocabulary);
        state.PauseTiming();
        vocabulary.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadVocabulary)->Unit(benchmark::kMillisecond);

// From the installation's services to the main window shown with the vocabulary open. Each
// iteration first loads the vocabulary alone (outside the timing): the counter "times_load" is
// start-up over that load, both measured in turn, so that a busy machine slows both alike.
void BM_StartUpToShownWindow(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    StartupFixture &startup = fixture();
    lexi::NoMoveToApplicationsOffer moveOffer;
    Clock::duration loading{};
    Clock::duration startingUp{};
    for (auto _ : state) {
        state.PauseTiming();
        startup.makeInstallation();
        const Clock::time_point loadStart = Clock::now();
        std::shared_ptr<Lexicarta> loaded = startup.installation->storage().vocabularyFromFile(startup.path);
        loading += Clock::now() - loadStart;
        loaded.reset();
        state.ResumeTiming();

        const Clock::time_point start = Clock::now();
        auto interface = std::make_unique<lexi::MainInterface>(*startup.installation, moveOffer);
        interface->awakeFromNib();
        QMainWindow *window = interface->mainWindowController().mainWindow();
        window->show();
        QCoreApplication::processEvents();
        startingUp += Clock::now() - start;
        if (interface->mainWindowController().currentVocabulary()->countAllWords() != 50000)
            state.SkipWithError("the vocabulary did not open");
        state.PauseTiming();
        interface.reset();
        state.ResumeTiming();
    }
    state.counters["times_load"] = std::chrono::duration<double>(startingUp) / std::chrono::duration<double>(loading);
}
BENCHMARK(BM_StartUpToShownWindow)->Unit(benchmark::kMillisecond);

} // namespace
