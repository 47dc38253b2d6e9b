#include "support/GeneratedVocabulary.h"

#include "model/SyncRequests.h"
#include "model/VocabularyKeeper.h"
#include "platform/dispatch/QtScheduler.h"
#include "platform/files/Defaults.h"
#include "statistics/QLXGraphView.h"
#include "statistics/QLXStatisticsController.h"
#include "views/QLXColorTheme.h"

#include <QDate>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

class NoSync final : public lexi::SyncRequests
{
public:
    void markFileAsNeedsSync(const Lexicarta &) override {}
    void syncWithDropbox() override {}
};

// One paint of a graph of 30 points filling a full-HD screen.
void BM_GraphPaint(benchmark::State &state)
{
    QList<double> values;
    QStringList dayTexts;
    QStringList valueTexts;
    for (int i = 0; i < 30; ++i) {
        values.append(400 + 17 * i - (i % 4) * 9);
        dayTexts.append(u"%1 May 2026"_s.arg(i + 1));
        valueTexts.append(u"%1 words"_s.arg(values.last()));
    }
    QLXGraphView view;
    view.resize(1920, 1080);
    view.setGraph(QLXGraph::initWithLabels(std::nullopt, values, dayTexts, valueTexts));
    view.setBaseline(380);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_GraphPaint)->Unit(benchmark::kMillisecond);

// The statistics tab, showing the words graph of ten years of days, as the window is dragged
// larger and smaller: its graphs drawn anew for the size, then the whole tab painted.
void BM_StatisticsTabResize(benchmark::State &state)
{
    const lexi::bench::BenchmarkServices services;
    const lexi::Clock &clock = services.services().clock;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    const QDate today = clock.now().toDateTime().toLocalTime().date();
    QList<QLXDailyStatisticsSnapshot> days;
    for (int i = 0; i < 3650; ++i) {
        QLXDailyStatisticsSnapshot day(lexi::Date::fromDateTime(today.addDays(i - 3649).startOfDay()));
        day.setNumberOfWordsInLevel(3, 12 * i);
        days.append(day);
    }
    QLXStatistics statistics;
    statistics.setDailySnapshots(days);
    vocabulary->setStatistics(statistics);

    QTemporaryDir folder;
    lexi::Defaults defaults(folder.filePath(u"Lexicarta.conf"_s));
    QLXColorTheme theme(defaults);
    lexi::dispatch::QtScheduler scheduler;
    NoSync sync;
    lexi::VocabularyKeeper keeper([](const Lexicarta &) { return true; }, sync);
    keeper.setVocabulary(vocabulary);
    QLXStatisticsController tab({keeper, clock, scheduler, theme});
    tab.resize(1600, 900);
    tab.show();
    tab.showStatistics();
    tab.showWordsGraph();
    QImage image(QSize(1700, 1000), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        tab.resize(1600 + 2 * step, 900 + step);
        tab.windowDidResize();
        tab.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_StatisticsTabResize)->Unit(benchmark::kMillisecond);

} // namespace
