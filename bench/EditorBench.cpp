#include "support/GeneratedVocabulary.h"
#include "support/NullWorkspace.h"
#include "support/RecordingKeeper.h"

#include "editor/LexicartaController.h"
#include "editor/ShownWords.h"
#include "editor/WordPopoverEditor.h"
#include "model/QLXStorageManager.h"
#include "platform/dispatch/QtScheduler.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"
#include "platform/ports/Console.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

using namespace Qt::StringLiterals;

// The word list's steps on the generated vocabulary of 50,000 words: what a keystroke in the
// search field, a level button, a tag and a column click cost the main thread, and deleting or
// editing many words at once with their save.

namespace {

// The generated vocabulary with a store that can save it, in a folder of its own.
class EditorFixture
{
public:
    EditorFixture() : vocabulary(lexi::bench::generateVocabulary(m_services.services()))
    {
        lexi::Console::setSink([](const QString &) {});
    }

    void regenerate() { vocabulary = lexi::bench::generateVocabulary(m_services.services()); }

private:
    lexi::bench::BenchmarkServices m_services;
    QTemporaryDir m_folder;
    lexi::ApplicationFolders m_folders{m_folder.path()};
    lexi::test::NullWorkspace m_workspace;

public:
    QLXStorageManager store{m_folders, m_services.services(), m_workspace};
    lexi::test::RecordingSyncRequests sync;
    lexi::VocabularyKeeper keeper{[this](const Lexicarta &vocabulary) { return store.saveVocabulary(&vocabulary); },
                                  sync};
    lexi::Defaults defaults{QDir(m_folder.path()).filePath(u"settings.conf"_s)};
    lexi::Settings settings{defaults};
    lexi::dispatch::QtScheduler scheduler;
    std::shared_ptr<Lexicarta> vocabulary;

    QLXWordPopoverController::Services popoverServices()
    {
        const lexi::VocabularyServices &services = m_services.services();
        return {keeper, services.alertPresenter, services.inputSources, services.clock, scheduler, settings,
                u"English"_s};
    }
};

// Sorting every word by the word's own comparator, as the table did on each refresh.
void BM_SortAllWordsByComparator(benchmark::State &state)
{
    EditorFixture fixture;
    for (auto _ : state) {
        lexi::WordList words = fixture.vocabulary->allWords();
        std::stable_sort(words.begin(), words.end(),
                         [](const auto &left, const auto &right) { return left->compareYourLang(*right) < 0; });
        benchmark::DoNotOptimize(words.constData());
    }
}
BENCHMARK(BM_SortAllWordsByComparator)->Unit(benchmark::kMillisecond);

// The first time the list shows a column: every key taken and sorted.
void BM_FirstOrderOfAColumn(benchmark::State &state)
{
    EditorFixture fixture;
    for (auto _ : state) {
        lexi::ShownWords shown;
        shown.recalculate(*fixture.vocabulary, {.column = lexi::WordColumn(state.range(0))});
        benchmark::DoNotOptimize(shown.count());
    }
}
BENCHMARK(BM_FirstOrderOfAColumn)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// The shown words again with the keys kept: a search keystroke, a level, a tag.
void BM_ShownWordsForAKeystroke(benchmark::State &state)
{
    EditorFixture fixture;
    lexi::ShownWords shown;
    shown.recalculate(*fixture.vocabulary, {});
    const QString terms[] = {u"ha"_s, u"hau"_s, u"haus"_s, u"hau"_s};
    int next = 0;
    for (auto _ : state) {
        shown.recalculate(*fixture.vocabulary, {.searchTerm = terms[next++ % 4]});
        benchmark::DoNotOptimize(shown.count());
    }
}
BENCHMARK(BM_ShownWordsForAKeystroke)->Unit(benchmark::kMillisecond);

void BM_ShownWordsForALevel(benchmark::State &state)
{
    EditorFixture fixture;
    lexi::ShownWords shown;
    quint64 level = 0;
    for (auto _ : state) {
        shown.recalculate(*fixture.vocabulary, {.level = level++ % 7});
        benchmark::DoNotOptimize(shown.count());
    }
}
BENCHMARK(BM_ShownWordsForALevel)->Unit(benchmark::kMillisecond);

// The list controller itself: field, shown words, table model, tag cloud, status and help.
class ListFixture : public EditorFixture
{
public:
    ListFixture() : list(LexicartaController::Services{popoverServices()})
    {
        list.view()->resize(1180, 720);
        list.view()->show();
        keeper.setVocabulary(vocabulary);
        list.showVocabulary();
        store.flushSaves();
    }

    LexicartaController list;
};

void BM_ListSearchKeystroke(benchmark::State &state)
{
    ListFixture fixture;
    const QString terms[] = {u"h"_s, u"ha"_s, u"hau"_s, u"ha"_s};
    int next = 0;
    for (auto _ : state) {
        fixture.list.searchField()->setText(terms[next++ % 4]);
        fixture.list.search();
    }
}
BENCHMARK(BM_ListSearchKeystroke)->Unit(benchmark::kMillisecond);

// A level button: the list also hands the vocabulary to the background saver each time.
void BM_ListLevelButton(benchmark::State &state)
{
    ListFixture fixture;
    quint64 level = 0;
    for (auto _ : state)
        fixture.list.selectMemoryView(level++ % 7);
    fixture.store.flushSaves();
}
BENCHMARK(BM_ListLevelButton)->Unit(benchmark::kMillisecond);

void BM_ListToggleTag(benchmark::State &state)
{
    ListFixture fixture;
    bool on = false;
    for (auto _ : state) {
        on = !on;
        if (on)
            fixture.list.selectAllTags();
        else
            fixture.list.deselectAllTags();
    }
}
BENCHMARK(BM_ListToggleTag)->Unit(benchmark::kMillisecond);

void BM_ListReverseColumn(benchmark::State &state)
{
    ListFixture fixture;
    for (auto _ : state)
        fixture.list.tableViewDidClickTableColumn(0);
}
BENCHMARK(BM_ListReverseColumn)->Unit(benchmark::kMillisecond);

// The end of an import of 25,000 new words into the list's 50,000, as the main window takes it:
// the words and derived data the worker prepared taken in, the change recorded (the save handed to
// the saver) and the list shown with them.
void BM_ListTakesInAnImport(benchmark::State &state)
{
    ListFixture fixture;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.regenerate();
        fixture.keeper.setVocabulary(fixture.vocabulary);
        fixture.list.showVocabulary();
        fixture.store.flushSaves();
        const auto incoming = lexi::bench::generateVocabulary(fixture.vocabulary->services(), 25000, 7);
        lexi::WordList words;
        for (const std::shared_ptr<QLXWord> &word : incoming->allWords()) {
            const std::shared_ptr<QLXWord> copied = word->copy();
            copied->setWeakVocForSort({});
            words.append(copied);
        }
        std::optional<Lexicarta::PreparedAddition> addition = fixture.vocabulary->prepareAddition();
        addition->append(words);
        state.ResumeTiming();
        if (!fixture.vocabulary->addPrepared(std::move(*addition)))
            std::abort();
        addition.reset();
        benchmark::DoNotOptimize(fixture.keeper.recordChange());
        fixture.list.showVocabulary();
    }
    fixture.store.flushSaves();
}
BENCHMARK(BM_ListTakesInAnImport)->Unit(benchmark::kMillisecond)->Iterations(5);

// Deleting every word at once: one pass, derived data anew, one save handed to the saver.
void BM_DeleteAllWords(benchmark::State &state)
{
    EditorFixture fixture;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.regenerate();
        const lexi::WordList words = fixture.vocabulary->allWords();
        state.ResumeTiming();
        lexi::WordPopoverEditor::deleteWords(words, *fixture.vocabulary);
        lexi::WordPopoverEditor::finishChange(*fixture.vocabulary);
        benchmark::DoNotOptimize(fixture.store.saveVocabulary(fixture.vocabulary.get()));
    }
    fixture.store.flushSaves();
}
BENCHMARK(BM_DeleteAllWords)->Unit(benchmark::kMillisecond)->Iterations(3);

// Applying the popover to 5,000 words: a new comment and one more tag each, derived data anew,
// one save handed to the saver.
void BM_ApplyPopoverToManyWords(benchmark::State &state)
{
    EditorFixture fixture;
    const lexi::WordList words = fixture.vocabulary->allWords().mid(0, 5000);
    lexi::WordPopoverForm form = lexi::WordPopoverEditor::setUp(words, *fixture.vocabulary, false, {});
    form.comment = u"checked"_s;
    form.keepsVariousTags = true;
    form.tags = {u"reviewed"_s};
    qint64 modification = 1;
    for (auto _ : state) {
        lexi::WordPopoverEditor::apply(form, words, *fixture.vocabulary, modification++);
        lexi::WordPopoverEditor::finishChange(*fixture.vocabulary);
        benchmark::DoNotOptimize(fixture.store.saveVocabulary(fixture.vocabulary.get()));
    }
    fixture.store.flushSaves();
}
BENCHMARK(BM_ApplyPopoverToManyWords)->Unit(benchmark::kMillisecond);

} // namespace
