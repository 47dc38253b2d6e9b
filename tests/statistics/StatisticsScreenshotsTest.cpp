#include "StatisticsTabFixture.h"

#include "support/ContrastRatio.h"
#include "support/Screenshots.h"

#include "statistics/QLXGraphView.h"

#include <QApplication>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QTest>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A learner's year: about nine hundred words, learnt fast at first, with a summer break, days
// without practice and a few days that lost words.
QLXStatistics aYearOfLearning(QDate today)
{
    QList<QLXDailyStatisticsSnapshot> days;
    for (int day = 0; day < 365; ++day) {
        const bool summerBreak = day >= 150 && day < 175;
        if (summerBreak || day % 9 == 5)
            continue;
        const double progress = 1.0 - std::exp(-day / 160.0);
        const qint64 forgotten = day % 23 == 0 ? 14 : 0;
        const qint64 known = 35 + qint64(900.0 * progress) - forgotten;
        QLXDailyStatisticsSnapshot snapshot(lexi::Date::fromDateTime(today.addDays(day - 364).startOfDay()));
        snapshot.setNumberOfWordsInLevel(0, 1100 - known);
        snapshot.setNumberOfWordsInLevel(1, known / 8);
        snapshot.setNumberOfWordsInLevel(2, known / 5);
        snapshot.setNumberOfWordsInLevel(3, known / 4);
        snapshot.setNumberOfWordsInLevel(4, known / 6);
        snapshot.setNumberOfWordsInLevel(5, known - known / 8 - known / 5 - known / 4 - known / 6);
        days.append(snapshot);
    }
    QLXStatistics statistics;
    statistics.setDailySnapshots(days);
    return statistics;
}

class StatisticsScreenshotsTest : public lexi::test::StatisticsTabFixture
{
protected:
    // Renders every page of a tab made under the application's palette, the names prefixed with
    // `prefix`.
    void renderPages(const QString &prefix)
    {
        QLXStatisticsController tab(services);
        tab.resize(900, 560);
        tab.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
        tab.showStatistics();
        save(tab, prefix + u"statistics-overview"_s);

        const QList<std::pair<int, QString>> modes = {
            {0, u"total"_s}, {1, u"30-days"_s}, {2, u"7-days"_s}};
        tab.showWordsGraph();
        QButtonGroup *segments = tab.wordsGraphView()->parentWidget()->findChild<QButtonGroup *>();
        ASSERT_TRUE(segments);
        for (const auto &[segment, name] : modes) {
            segments->button(segment)->click();
            save(tab, prefix + u"statistics-words-"_s + name);
        }
        // The last day's box, as the mouse shows it.
        QLXGraphView *graph = tab.wordsGraphView();
        ASSERT_FALSE(graph->points().isEmpty());
        const QRectF last = graph->points().last().marker().frame;
        QTest::mouseMove(graph, QPoint(1, 1));
        QTest::mouseMove(graph, QPointF(last.center().x(), graph->height() - last.center().y()).toPoint());
        EXPECT_TRUE(graph->detailView().frame());
        save(tab, prefix + u"statistics-words-hover"_s);
        segments->button(0)->click();

        tab.showUnderstandingGraph();
        save(tab, prefix + u"statistics-understanding"_s);
    }

    static void save(QWidget &widget, const QString &name)
    {
        EXPECT_TRUE(lexi::test::saveScreenshotAsIs(widget, name)) << name.toStdString();
    }
};

// The tab with a year of statistics, for people to look at in build/screenshots.
TEST_F(StatisticsScreenshotsTest, RendersThePagesInALightAndADarkPalette)
{
    vocabulary->setStatistics(aYearOfLearning(today));
    lexi::test::inLightAndDarkPalette([this](const QString &prefix) { renderPages(prefix); });
}

// The pages' texts, the greyed explanations included, read at the 4.5:1 of body text in the light
// palette and after the desktop switched to a dark one.
TEST_F(StatisticsScreenshotsTest, EveryTextReadsAsBodyTextInALightAndADarkPalette)
{
    vocabulary->setStatistics(aYearOfLearning(today));
    QLXStatisticsController tab(services);
    tab.resize(900, 560);
    tab.show();
    tab.showStatistics();
    const QPalette light = QApplication::palette();
    for (const auto &[palette, name] : {std::pair{light, "light"}, std::pair{lexi::test::darkPalette(), "dark"}}) {
        QApplication::setPalette(palette);
        QApplication::processEvents();
        for (const auto &[page, pageName] : {std::pair{&QLXStatisticsController::showStatistics, "overview"},
                                             std::pair{&QLXStatisticsController::showWordsGraph, "words"},
                                             std::pair{&QLXStatisticsController::showUnderstandingGraph, "understanding"}}) {
            (tab.*page)();
            const auto least = lexi::test::leastReadableLabel(tab);
            EXPECT_GE(least.ratio, 4.5) << name << ' ' << pageName << ": " << qPrintable(least.text);
        }
    }
    QApplication::setPalette(light);
}

} // namespace
