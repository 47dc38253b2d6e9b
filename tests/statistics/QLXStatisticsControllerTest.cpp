#include "StatisticsTabFixture.h"

#include "support/RecordingLogger.h"

#include "logging/QLXLog.h"
#include "statistics/QLXGraphView.h"
#include "statistics/StatisticsFigures.h"
#include "statistics/StatisticsTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QTest>

#include <string_view>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::GraphMode;

namespace {

class StatisticsControllerTest : public lexi::test::StatisticsTabFixture
{
protected:
    StatisticsControllerTest()
    {
        controller.resize(900, 600);
        controller.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&controller));
    }

    QString field(const char *name) const
    {
        const auto *label = controller.findChild<QLabel *>(QString::fromLatin1(name));
        return label ? label->text() : u"(no field %1)"_s.arg(QString::fromLatin1(name));
    }

    QAbstractButton *button(const char *name) const
    {
        return controller.findChild<QAbstractButton *>(QString::fromLatin1(name));
    }

    // The mode segment of a graph page with the text of `key`.
    QAbstractButton *segment(QLXGraphView *graphView, const QString &key) const
    {
        for (QAbstractButton *candidate : graphView->parentWidget()->findChildren<QAbstractButton *>()) {
            if (candidate->text() == lexi::statisticsText(key))
                return candidate;
        }
        return nullptr;
    }

    QLXStatisticsController controller{services};
};

TEST_F(StatisticsControllerTest, ShowsTheFiguresOfTheVocabularyOnTheOverview)
{
    // 45 days, the last 30 of them learning two words a day.
    QList<qint64> known(15, 100);
    for (qint64 day = 1; day <= 30; ++day)
        known.append(100 + 2 * day);
    vocabulary->setStatistics(history(known));
    controller.showWordsGraph();
    controller.showStatistics();

    EXPECT_EQ(controller.currentPage(), QLXStatisticsController::overview);
    EXPECT_EQ(controller.selectedButton(), button("overViewButton"));
    EXPECT_TRUE(button("overViewButton")->isChecked());
    EXPECT_FALSE(button("wordsButton")->isChecked());
    EXPECT_EQ(controller.selectionBox()->geometry(), button("overViewButton")->geometry());
    EXPECT_EQ(field("learntToday"), u"2"_s);
    EXPECT_EQ(field("learntThisWeek"), u"12"_s);
    EXPECT_EQ(field("learntThisWeekPerDay"), u"1"_s);
    EXPECT_EQ(field("learntThisMonth"), u"58"_s);
    EXPECT_EQ(field("learntThisMonthPerDay"), u"1"_s);
    EXPECT_EQ(field("learntTotal"), u"160"_s);
    EXPECT_EQ(field("learntTotalPerDay"), u"3"_s);
    EXPECT_EQ(field("analysisPercent"), lexi::percentText(QLXStatistics::percentOfLanguage(160)));
    EXPECT_EQ(field("analysisPlus100Percent"), lexi::percentText(QLXStatistics::percentOfLanguage(260)));
    EXPECT_EQ(field("outlookWeek"), lexi::outlookText({172, QLXStatistics::percentOfLanguage(172)}));
    EXPECT_EQ(field("outlookYear"), lexi::outlookText({160 + 12 * 58, QLXStatistics::percentOfLanguage(856)}));
    EXPECT_EQ(controller.wordsGraphView()->graph().numberOfInstances(), 30);
    EXPECT_EQ(controller.wordsGraphView()->graph().dataInstances().last().yValue, 160);
}

TEST_F(StatisticsControllerTest, NoDayRecordedIsLoggedOnEachRefresh)
{
    vocabulary->setStatistics(QLXStatistics());
    auto logger = std::make_shared<RecordingLogger>();
    QLXLog::addLogger(logger);
    controller.showStatistics();
    controller.showStatistics();
    QLXLog::flushLog();
    EXPECT_EQ(logger->texts(), QStringList(2, u"statisticsController > total days is zero"_s));
    QLXLog::removeAllLoggers();
    EXPECT_EQ(field("learntTotalPerDay"), u"0"_s);
    EXPECT_EQ(controller.wordsGraphView()->graph().numberOfInstances(), 0);
}

TEST_F(StatisticsControllerTest, AGraphPageDrawsItsGraphATenthOfASecondAfterItShows)
{
    vocabulary->setStatistics(history({10, 12}));
    controller.showStatistics();
    vocabulary->setStatistics(history({10, 12, 15}));

    QTest::mouseClick(button("wordsButton"), Qt::LeftButton);
    EXPECT_EQ(controller.currentPage(), QLXStatisticsController::wordsGraph);
    EXPECT_EQ(controller.selectedButton(), button("wordsButton"));
    EXPECT_TRUE(button("wordsButton")->isChecked());
    EXPECT_FALSE(button("overViewButton")->isChecked());
    EXPECT_EQ(controller.selectionBox()->geometry(), button("wordsButton")->geometry());
    EXPECT_EQ(controller.wordsGraphView()->graph().numberOfInstances(), 2);
    scheduler.advance(99ms);
    EXPECT_EQ(controller.wordsGraphView()->graph().numberOfInstances(), 2);
    scheduler.advance(1ms);
    EXPECT_EQ(controller.wordsGraphView()->graph().numberOfInstances(), 3);

    QTest::mouseClick(button("understandingButton"), Qt::LeftButton);
    EXPECT_EQ(controller.currentPage(), QLXStatisticsController::understandingGraph);
    EXPECT_FALSE(button("wordsButton")->isChecked());
    EXPECT_EQ(controller.understandingGraphView()->graph().numberOfInstances(), 2);
    scheduler.advance(100ms);
    EXPECT_EQ(controller.understandingGraphView()->graph().numberOfInstances(), 3);

    // Leaving a page before its refresh drops the refresh.
    vocabulary->setStatistics(history({10, 12, 15, 16}));
    QTest::mouseClick(button("wordsButton"), Qt::LeftButton);
    QTest::mouseClick(button("overViewButton"), Qt::LeftButton);
    EXPECT_EQ(controller.currentPage(), QLXStatisticsController::overview);
    scheduler.advance(100ms);
    EXPECT_EQ(controller.wordsGraphView()->graph().numberOfInstances(), 3);
}

TEST_F(StatisticsControllerTest, TheArrowKeysChooseTheSideBarsPages)
{
    vocabulary->setStatistics(history({10, 12}));
    controller.showStatistics();
    controller.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&controller));
    button("overViewButton")->setFocus();
    const struct
    {
        Qt::Key key;
        QLXStatisticsController::Page page;
        const char *button;
    } steps[] = {
        {Qt::Key_Down, QLXStatisticsController::wordsGraph, "wordsButton"},
        {Qt::Key_Down, QLXStatisticsController::understandingGraph, "understandingButton"},
        {Qt::Key_Up, QLXStatisticsController::wordsGraph, "wordsButton"},
        {Qt::Key_Up, QLXStatisticsController::overview, "overViewButton"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.button);
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_EQ(controller.currentPage(), step.page);
        EXPECT_EQ(controller.selectedButton(), button(step.button));
        EXPECT_TRUE(button(step.button)->hasFocus());
        for (const char *other : {"overViewButton", "wordsButton", "understandingButton"})
            EXPECT_EQ(button(other)->isChecked(), other == std::string_view(step.button)) << other;
    }
}

TEST_F(StatisticsControllerTest, TheModeSegmentsChooseTheDaysAndAreKeptAcrossShows)
{
    QList<qint64> known;
    for (qint64 day = 0; day < 90; ++day)
        known.append(200 + day);
    vocabulary->setStatistics(history(known));
    controller.showStatistics();
    QLXGraphView *words = controller.wordsGraphView();
    QLXGraphView *understanding = controller.understandingGraphView();
    controller.showWordsGraph();

    QTest::mouseClick(segment(words, u"graph7days"_s), Qt::LeftButton);
    EXPECT_EQ(controller.wordsMode(), GraphMode::last7Days);
    EXPECT_EQ(words->graph().numberOfInstances(), 7);
    EXPECT_EQ(words->graph().dataInstances().first().yValue, 283);
    QTest::mouseClick(segment(words, u"graph30days"_s), Qt::LeftButton);
    EXPECT_EQ(words->graph().numberOfInstances(), 30);
    EXPECT_EQ(words->graph().dataInstances().first().yValue, 260);
    EXPECT_EQ(understanding->graph().numberOfInstances(), 30);

    controller.showUnderstandingGraph();
    QTest::mouseClick(segment(understanding, u"graph7days"_s), Qt::LeftButton);
    EXPECT_EQ(controller.understandingMode(), GraphMode::last7Days);
    EXPECT_EQ(understanding->graph().numberOfInstances(), 7);
    EXPECT_NEAR(understanding->graph().maximumData(), QLXStatistics::percentOfLanguage(289), 1e-5);

    controller.showStatistics();
    EXPECT_EQ(controller.wordsMode(), GraphMode::last30Days);
    EXPECT_EQ(controller.understandingMode(), GraphMode::last7Days);
    EXPECT_EQ(words->graph().numberOfInstances(), 30);
    EXPECT_EQ(understanding->graph().numberOfInstances(), 7);

    // A segment that is none of the three keeps the mode and draws the graph anew.
    controller.setWordsMode(5);
    EXPECT_EQ(controller.wordsMode(), GraphMode::last30Days);
    QTest::mouseClick(segment(words, u"graphTotal"_s), Qt::LeftButton);
    EXPECT_EQ(controller.wordsMode(), GraphMode::total);
    EXPECT_EQ(words->graph().numberOfInstances(), 30);
    EXPECT_EQ(words->graph().dataInstances().first().yValue, 200);
}

TEST_F(StatisticsControllerTest, FollowsTheKeepersVocabularyOnlyWhileShown)
{
    vocabulary->addWord(std::make_shared<QLXWord>(u"house"_s, u"Haus"_s));
    vocabulary->setStatistics(history({0}));
    controller.showStatistics();
    EXPECT_EQ(field("learntTotal"), u"0"_s);

    vocabulary->answeredWord(*vocabulary->allWords().front(), 1);
    keeper.recordChange();
    EXPECT_EQ(field("learntTotal"), u"1"_s);
    EXPECT_EQ(controller.wordsGraphView()->graph().dataInstances().last().yValue, 1);

    // While the tab is hidden, answers leave it as it was until it shows again.
    controller.hide();
    auto tree = std::make_shared<QLXWord>(u"tree"_s, u"Baum"_s);
    vocabulary->addWord(tree);
    vocabulary->answeredWord(*tree, 1);
    keeper.recordChange();
    EXPECT_EQ(field("learntTotal"), u"1"_s);
    controller.show();
    controller.showStatistics();
    EXPECT_EQ(field("learntTotal"), u"2"_s);

    // Another vocabulary shows at once.
    auto other = Lexicarta::create(fakes.services);
    other->setStatistics(history({5, 9, 30}));
    keeper.setVocabulary(other);
    EXPECT_EQ(field("learntTotal"), u"30"_s);
    EXPECT_EQ(controller.wordsGraphView()->graph().numberOfInstances(), 3);
}

TEST_F(StatisticsControllerTest, AWindowResizeDrawsTheGraphsAnew)
{
    vocabulary->setStatistics(history({3, 4}));
    controller.showStatistics();
    vocabulary->setStatistics(history({3, 4, 8}));
    controller.windowDidResize();
    EXPECT_EQ(controller.wordsGraphView()->graph().numberOfInstances(), 3);
    EXPECT_EQ(controller.understandingGraphView()->graph().numberOfInstances(), 3);
}

TEST_F(StatisticsControllerTest, EveryTextComesFromTheStatisticsTable)
{
    int texts = 0;
    for (QWidget *widget : controller.findChildren<QWidget *>()) {
        const QVariant key = widget->property("lexicartaTextKey");
        if (!key.isValid())
            continue;
        ++texts;
        const QString shown = qobject_cast<QLabel *>(widget) ? qobject_cast<QLabel *>(widget)->text()
                                                               : qobject_cast<QAbstractButton *>(widget)->text();
        EXPECT_NE(shown, key.toString());
        EXPECT_FALSE(shown.isEmpty()) << key.toString().toStdString();
    }
    EXPECT_GT(texts, 0);
}

} // namespace
