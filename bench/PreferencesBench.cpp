#include "support/GeneratedVocabulary.h"
#include "support/NullWorkspace.h"

#include "model/QLXStorageManager.h"
#include "platform/dispatch/QtScheduler.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Defaults.h"
#include "shell/QLXPreferencesController.h"
#include "views/QLXColorTheme.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// An installation whose vocabularies folder holds ten vocabularies of 50,000 words each.
class TenLargeVocabularies
{
public:
    static constexpr int vocabularyCount = 10;

    TenLargeVocabularies()
    {
        const auto vocabulary = lexi::bench::generateVocabulary(m_services.services(), 50000);
        for (int number = 1; number <= vocabularyCount; ++number) {
            vocabulary->setForeignLanguageName(u"Language %1"_s.arg(number));
            storage.saveVocabulary(vocabulary.get());
            storage.flushSaves();
        }
    }

    // The preferences as the main window makes them: they show themselves when made.
    std::unique_ptr<QLXPreferencesController> makePreferences()
    {
        QLXPreferencesController::Environment environment;
        environment.folders = &m_folders;
        environment.storage = &storage;
        environment.services = &m_services.services();
        environment.defaults = &m_defaults;
        environment.alerts = &m_alerts;
        environment.inputSources = &m_inputSources;
        environment.clock = &m_services.services().clock;
        environment.scheduler = &m_scheduler;
        environment.colorTheme = &m_theme;
        return std::make_unique<QLXPreferencesController>(environment);
    }

private:
    QTemporaryDir m_folder;
    lexi::bench::BenchmarkServices m_services;
    lexi::ApplicationFolders m_folders{m_folder.path()};
    lexi::Defaults m_defaults{QDir(m_folder.path()).filePath(u"settings.conf"_s)};
    lexi::test::SilentAlertPresenter m_alerts;
    lexi::NullInputSources m_inputSources;
    lexi::dispatch::QtScheduler m_scheduler;
    QLXColorTheme m_theme{m_defaults};
    lexi::test::NullWorkspace m_workspace;

public:
    QLXStorageManager storage{m_folders, m_services.services(), m_workspace};
};

TenLargeVocabularies &installation()
{
    static TenLargeVocabularies installation;
    return installation;
}

// Opening the settings tab for the first time: the pages are made and filled, the table shows
// what is read so far, and the ten vocabularies are read on another thread (not measured here).
void BM_ShowPreferencesFirstTime(benchmark::State &state)
{
    TenLargeVocabularies &ten = installation();
    for (auto _ : state) {
        auto preferences = ten.makePreferences();
        preferences->showLanguages();
        state.PauseTiming();
        preferences.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowPreferencesFirstTime)->Unit(benchmark::kMillisecond)->Iterations(20);

// Opening the tab again, once the table was read: every vocabulary is listed.
void BM_ShowPreferencesAgain(benchmark::State &state)
{
    auto preferences = installation().makePreferences();
    QElapsedTimer reading;
    reading.start();
    preferences->finishPendingWork();
    state.counters["readingAllMs"] = double(reading.elapsed());
    for (auto _ : state) {
        preferences->showPreferences();
        preferences->showLanguages();
    }
    if (preferences->allVocsCountIncludingInvisibles() != TenLargeVocabularies::vocabularyCount)
        state.SkipWithError("the table does not list every vocabulary");
}
BENCHMARK(BM_ShowPreferencesAgain)->Unit(benchmark::kMillisecond);

} // namespace
