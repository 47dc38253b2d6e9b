#include "QLXStatisticsController.h"

#include "QLXGraphView.h"
#include "StatisticsFigures.h"

#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QStackedWidget>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// Behind the graphs, darker than the view's own default.
const QColor graphBackground = QColor::fromRgbF(0.2f, 0.2f, 0.2f);

} // namespace

QLXStatisticsController::QLXStatisticsController(const lexi::StatisticsServices &services, QWidget *parent)
    : QWidget(parent), m_services(services)
{
    buildView();
    localize();
    connect(&m_services.keeper, &lexi::VocabularyKeeper::vocabularyReplaced, this,
            &QLXStatisticsController::refreshIfShown);
    connect(&m_services.keeper, &lexi::VocabularyKeeper::wordsChanged, this, &QLXStatisticsController::refreshIfShown);
    selectPage(overview, m_overViewButton);
}

const QLXStatistics &QLXStatisticsController::statistics() const
{
    static const QLXStatistics none;
    const std::shared_ptr<Lexicarta> &vocabulary = m_services.keeper.vocabulary();
    return vocabulary ? vocabulary->statistics() : none;
}

void QLXStatisticsController::showStatistics()
{
    updateEntireView();
    for (QLXGraphView *view : {m_wordsGraphView, m_understandingGraphView})
        view->setBackgroundColor(graphBackground);
    showOverview();
}

void QLXStatisticsController::refreshIfShown()
{
    // A hidden tab is brought up to date when it shows.
    if (isVisible())
        updateEntireView();
}

void QLXStatisticsController::updateEntireView()
{
    updateGui();
    updateWordsGraph();
    updateUnderstandingGraph();
}

void QLXStatisticsController::updateGui()
{
    const lexi::StatisticsFigures figures =
        lexi::statisticsFigures(lexi::LearningCounts::of(statistics(), m_services.clock));
    m_learntToday->setText(QString::number(figures.learntToday));
    m_learntThisWeek->setText(QString::number(figures.learntThisWeek));
    m_learntThisWeekPerDay->setText(QString::number(figures.learntThisWeekPerDay));
    m_learntThisMonth->setText(QString::number(figures.learntThisMonth));
    m_learntThisMonthPerDay->setText(QString::number(figures.learntThisMonthPerDay));
    m_learntTotal->setText(QString::number(figures.learntTotal));
    m_learntTotalPerDay->setText(QString::number(figures.learntTotalPerDay));
    m_analysisPercent->setText(lexi::percentText(figures.analysisPercent));
    m_analysisPlus100Percent->setText(lexi::percentText(figures.analysisPlus100Percent));
    m_outlookWeek->setText(lexi::outlookText(figures.outlookWeek));
    m_outlookMonth->setText(lexi::outlookText(figures.outlookMonth));
    m_outlook3Month->setText(lexi::outlookText(figures.outlook3Month));
    m_outlookYear->setText(lexi::outlookText(figures.outlookYear));
}

void QLXStatisticsController::updateWordsGraph()
{
    const QList<QLXDailyStatisticsSnapshot> days =
        lexi::snapshotsForGraph(lexi::dailySnapshotsUpToToday(statistics(), m_services.clock), m_wordsMode);
    const lexi::StatisticsGraph graph = lexi::wordsGraph(days, m_graphTexts);
    m_wordsGraphView->setGraph(graph.graph);
    m_wordsGraphView->setBaseline(graph.baseline);
}

void QLXStatisticsController::updateUnderstandingGraph()
{
    const QList<QLXDailyStatisticsSnapshot> days = lexi::snapshotsForGraph(
        lexi::dailySnapshotsUpToToday(statistics(), m_services.clock), m_understandingMode);
    const lexi::StatisticsGraph graph = lexi::understandingGraph(days, m_understandingMode, m_graphTexts);
    m_understandingGraphView->setGraph(graph.graph);
    m_understandingGraphView->setBaseline(graph.baseline);
}

void QLXStatisticsController::showOverview()
{
    m_graphRefresh.cancel();
    selectPage(overview, m_overViewButton);
}

void QLXStatisticsController::showWordsGraph()
{
    selectPage(wordsGraph, m_wordsButton);
    m_graphRefresh = m_services.scheduler.after(100ms, [this] { updateWordsGraph(); });
}

void QLXStatisticsController::showUnderstandingGraph()
{
    selectPage(understandingGraph, m_understandingButton);
    m_graphRefresh = m_services.scheduler.after(100ms, [this] { updateUnderstandingGraph(); });
}

void QLXStatisticsController::selectPage(Page page, QAbstractButton *button)
{
    m_tabView->setCurrentIndex(page);
    for (QAbstractButton *pageButton : {m_overViewButton, m_wordsButton, m_understandingButton})
        pageButton->setChecked(pageButton == button);
    m_selectedButton = button;
    placeSelectionBox();
}

void QLXStatisticsController::placeSelectionBox()
{
    m_selectionBox->setGeometry(m_selectedButton->geometry());
}

bool QLXStatisticsController::eventFilter(QObject *watched, QEvent *event)
{
    // The marker follows the selected button as the side bar lays it out.
    if (watched == m_selectedButton && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeSelectionBox();
    return QWidget::eventFilter(watched, event);
}

QLXStatisticsController::Page QLXStatisticsController::currentPage() const
{
    return Page(m_tabView->currentIndex());
}

void QLXStatisticsController::setWordsMode(int segment)
{
    if (const std::optional<lexi::GraphMode> mode = lexi::graphModeForSegment(segment))
        m_wordsMode = *mode;
    updateWordsGraph();
}

void QLXStatisticsController::setUnderstandingMode(int segment)
{
    if (const std::optional<lexi::GraphMode> mode = lexi::graphModeForSegment(segment))
        m_understandingMode = *mode;
    updateUnderstandingGraph();
}

void QLXStatisticsController::windowDidResize()
{
    if (!isVisible())
        return;
    updateWordsGraph();
    updateUnderstandingGraph();
}
