#pragma once

#include "StatisticsGraphs.h"
#include "StatisticsServices.h"

#include "platform/dispatch/DelayedBlock.h"
#include "views/MainWindowPage.h"

#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QLXBookmarkView;
class QLXGraphView;
class QStackedWidget;

// The statistics tab: on its overview page the words learnt today, this week, this month and in
// total with their daily averages, the share of the language known now and with 100 words more,
// and where the recent pace leads in a week, a month, three months and a year; on two more pages
// line graphs of the known words and of the share of the language understood, each over the
// whole history, the last 30 or the last 7 days. A side bar switches the pages.
//
// It shows the vocabulary its keeper holds: whenever the tab is shown, and at once when that
// vocabulary is replaced or its words change while the tab is on screen. Main thread only.
class QLXStatisticsController : public QWidget, public lexi::StatisticsPage
{
    Q_OBJECT

public:
    enum Page { overview, wordsGraph, understandingGraph };

    explicit QLXStatisticsController(const lexi::StatisticsServices &services, QWidget *parent = nullptr);

    QWidget *view() override { return this; }
    // The tab is shown: every figure and graph anew, on the overview page.
    void showStatistics() override;
    void updateEntireView();
    void updateGui();
    void updateWordsGraph();
    void updateUnderstandingGraph();

    // Page switching; each graph page draws its graph anew 0.1 s after it shows.
    void showOverview();
    void showWordsGraph();
    void showUnderstandingGraph();
    // The mode of a segment (0 total, 1 the last 30 days, 2 the last 7); any other keeps the mode.
    void setWordsMode(int segment);
    void setUnderstandingMode(int segment);
    // The window changed its size: the graphs are drawn anew to fit.
    void windowDidResize() override;

    Page currentPage() const;
    lexi::GraphMode wordsMode() const { return m_wordsMode; }
    lexi::GraphMode understandingMode() const { return m_understandingMode; }
    QLXGraphView *wordsGraphView() const { return m_wordsGraphView; }
    QLXGraphView *understandingGraphView() const { return m_understandingGraphView; }
    QAbstractButton *selectedButton() const { return m_selectedButton; }
    QWidget *selectionBox() const { return m_selectionBox; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildView();
    QWidget *makeSideBar();
    QWidget *makeOverviewPage();
    QWidget *makeGraphPage(const QString &headerKey, const QString &infoKey, QLXGraphView *&graphView,
                           QButtonGroup *&modeSegments);
    QLabel *valueField(const char *name);
    void localize();
    const QLXStatistics &statistics() const;
    void selectPage(Page page, QAbstractButton *button);
    void placeSelectionBox();
    void refreshIfShown();

    lexi::StatisticsServices m_services;
    const lexi::GraphTexts m_graphTexts = lexi::GraphTexts::fromStringTable();
    lexi::GraphMode m_wordsMode = lexi::GraphMode::total;
    lexi::GraphMode m_understandingMode = lexi::GraphMode::total;
    // The pending refresh of the graph page shown; leaving the page drops it.
    lexi::dispatch::DelayedBlock m_graphRefresh;

    QStackedWidget *m_tabView = nullptr;
    QLXBookmarkView *m_leftSideBarView = nullptr;
    QAbstractButton *m_overViewButton = nullptr;
    QAbstractButton *m_wordsButton = nullptr;
    QAbstractButton *m_understandingButton = nullptr;
    QAbstractButton *m_selectedButton = nullptr;
    QWidget *m_selectionBox = nullptr;
    QLabel *m_learntToday = nullptr;
    QLabel *m_learntThisWeek = nullptr;
    QLabel *m_learntThisWeekPerDay = nullptr;
    QLabel *m_learntThisMonth = nullptr;
    QLabel *m_learntThisMonthPerDay = nullptr;
    QLabel *m_learntTotal = nullptr;
    QLabel *m_learntTotalPerDay = nullptr;
    QLabel *m_analysisPercent = nullptr;
    QLabel *m_analysisPlus100Percent = nullptr;
    QLabel *m_outlookWeek = nullptr;
    QLabel *m_outlookMonth = nullptr;
    QLabel *m_outlook3Month = nullptr;
    QLabel *m_outlookYear = nullptr;
    QLXGraphView *m_wordsGraphView = nullptr;
    QLXGraphView *m_understandingGraphView = nullptr;
    QButtonGroup *m_wordsModeSegmentControll = nullptr;
    QButtonGroup *m_understandingModeSegmentControll = nullptr;
};
