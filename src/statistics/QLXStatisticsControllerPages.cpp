// The statistics tab's widgets: the side bar, the overview page and the two graph pages.
#include "QLXStatisticsController.h"

#include "QLXGraphView.h"
#include "StatisticsTable.h"

#include "views/QLXBookmarkView.h"
#include "views/TextShareKeeper.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The key of a text that localize() looks up.
const char *const textKeyProperty = "lexicartaTextKey";

template<typename Widget>
Widget *keyed(Widget *widget, const QString &key)
{
    widget->setProperty(textKeyProperty, key);
    return widget;
}

QLabel *styledLabel(const QString &key, double scale, bool bold)
{
    auto *label = keyed(new QLabel, key);
    QFont font = label->font();
    font.setBold(bold);
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
    return label;
}

QLabel *heading(const QString &key)
{
    return styledLabel(key, 1.45, true);
}

QLabel *sectionTitle(const QString &key)
{
    return styledLabel(key, 1.0, true);
}

QLabel *caption(const QString &key)
{
    return keyed(new QLabel, key);
}

QLabel *information(const QString &key)
{
    auto *label = keyed(new QLabel, key);
    label->setWordWrap(true);
    lexi::TextShareKeeper::keep(*label, lexi::TextShareKeeper::secondaryTextShare);
    return label;
}

QVBoxLayout *pageLayout(QWidget *page, int left)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(left, 22, 28, 22);
    layout->setSpacing(6);
    return layout;
}

} // namespace

void QLXStatisticsController::buildView()
{
    setObjectName(u"statistics"_s);
    m_tabView = new QStackedWidget;
    m_tabView->addWidget(makeOverviewPage());
    m_tabView->addWidget(makeGraphPage(u"graphWordsHeader"_s, u"graphWordsInfo"_s, m_wordsGraphView,
                                       m_wordsModeSegmentControll));
    m_tabView->addWidget(makeGraphPage(u"graphUnderstandingHeader"_s, u"graphUnderstandingInfo"_s,
                                       m_understandingGraphView, m_understandingModeSegmentControll));
    m_wordsGraphView->setObjectName(u"wordsGraphView"_s);
    m_understandingGraphView->setObjectName(u"understandingGraphView"_s);
    connect(m_wordsModeSegmentControll, &QButtonGroup::idClicked, this, &QLXStatisticsController::setWordsMode);
    connect(m_understandingModeSegmentControll, &QButtonGroup::idClicked, this,
            &QLXStatisticsController::setUnderstandingMode);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeSideBar());
    layout->addWidget(m_tabView, 1);
}

QWidget *QLXStatisticsController::makeSideBar()
{
    m_leftSideBarView = new QLXBookmarkView(m_services.theme);
    m_leftSideBarView->setObjectName(u"leftSideBarView"_s);
    m_leftSideBarView->setFixedWidth(168);
    m_leftSideBarView->setStyleSheet(
        u"QPushButton { color: white; background: transparent; border: none; border-radius: 6px;"
        " padding: 8px 14px; text-align: left; }"
        "QPushButton:hover:!checked { background: rgba(255, 255, 255, 20); }"
        "QPushButton:focus { outline: none; text-decoration: underline; }"
        "#selectionBox { background: rgba(255, 255, 255, 46); border-radius: 6px; }"_s);

    // Made first, so that it lies below the buttons.
    m_selectionBox = new QWidget(m_leftSideBarView);
    m_selectionBox->setObjectName(u"selectionBox"_s);
    m_selectionBox->setAttribute(Qt::WA_StyledBackground);

    auto *layout = new QVBoxLayout(m_leftSideBarView);
    layout->setContentsMargins(10, 18, 10, 18);
    layout->setSpacing(4);
    const auto pageButton = [&](const QString &key, const QString &name) {
        auto *button = keyed(new QPushButton, key);
        button->setObjectName(name);
        button->setCheckable(true);
        // One page at a time, and the arrow keys choose among them as in the preferences.
        button->setAutoExclusive(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        QFont font = button->font();
        font.setPointSizeF(font.pointSizeF() * 1.1);
        button->setFont(font);
        button->installEventFilter(this);
        layout->addWidget(button);
        return button;
    };
    m_overViewButton = pageButton(u"overview"_s, u"overViewButton"_s);
    m_wordsButton = pageButton(u"words"_s, u"wordsButton"_s);
    m_understandingButton = pageButton(u"understanding"_s, u"understandingButton"_s);
    layout->addStretch();
    connect(m_overViewButton, &QAbstractButton::clicked, this, &QLXStatisticsController::showOverview);
    connect(m_wordsButton, &QAbstractButton::clicked, this, &QLXStatisticsController::showWordsGraph);
    connect(m_understandingButton, &QAbstractButton::clicked, this, &QLXStatisticsController::showUnderstandingGraph);
    return m_leftSideBarView;
}

QLabel *QLXStatisticsController::valueField(const char *name)
{
    auto *field = new QLabel;
    field->setObjectName(QString::fromLatin1(name));
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = field->font();
    font.setBold(true);
    field->setFont(font);
    return field;
}

QWidget *QLXStatisticsController::makeOverviewPage()
{
    auto *page = new QWidget;
    auto *layout = pageLayout(page, 28);

    layout->addWidget(heading(u"learntWords"_s));
    auto *learnt = new QGridLayout;
    learnt->setHorizontalSpacing(18);
    learnt->setVerticalSpacing(6);
    m_learntToday = valueField("learntToday");
    m_learntThisWeek = valueField("learntThisWeek");
    m_learntThisWeekPerDay = valueField("learntThisWeekPerDay");
    m_learntThisMonth = valueField("learntThisMonth");
    m_learntThisMonthPerDay = valueField("learntThisMonthPerDay");
    m_learntTotal = valueField("learntTotal");
    m_learntTotalPerDay = valueField("learntTotalPerDay");
    const struct
    {
        QString key;
        QLabel *count;
        QLabel *perDay;
    } rows[] = {{u"learntToday"_s, m_learntToday, nullptr},
                {u"learntThisWeek"_s, m_learntThisWeek, m_learntThisWeekPerDay},
                {u"learntThisMonth"_s, m_learntThisMonth, m_learntThisMonthPerDay},
                {u"learntTotal"_s, m_learntTotal, m_learntTotalPerDay}};
    for (int row = 0; row < 4; ++row) {
        learnt->addWidget(caption(rows[row].key), row, 0);
        learnt->addWidget(rows[row].count, row, 1);
        if (rows[row].perDay) {
            learnt->addWidget(information(u"dailyAverage"_s), row, 2);
            learnt->addWidget(rows[row].perDay, row, 3);
        }
    }
    learnt->setColumnStretch(4, 1);
    layout->addLayout(learnt);
    layout->addSpacing(18);

    auto *columns = new QHBoxLayout;
    columns->setSpacing(36);

    auto *analysis = new QVBoxLayout;
    analysis->setSpacing(6);
    analysis->addWidget(sectionTitle(u"analysis"_s));
    analysis->addWidget(information(u"analysisInfo1"_s));
    m_analysisPercent = valueField("analysisPercent");
    m_analysisPercent->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont large = m_analysisPercent->font();
    large.setPointSizeF(large.pointSizeF() * 2.0);
    m_analysisPercent->setFont(large);
    analysis->addWidget(m_analysisPercent);
    auto *plus100 = new QHBoxLayout;
    plus100->addWidget(caption(u"analysisPlus100"_s));
    m_analysisPlus100Percent = valueField("analysisPlus100Percent");
    plus100->addWidget(m_analysisPlus100Percent);
    plus100->addStretch();
    analysis->addLayout(plus100);
    analysis->addWidget(information(u"analysisInfo2"_s));
    analysis->addStretch();
    columns->addLayout(analysis, 1);

    auto *outlook = new QVBoxLayout;
    outlook->setSpacing(6);
    outlook->addWidget(sectionTitle(u"outlook"_s));
    outlook->addWidget(information(u"outlookInfo"_s));
    auto *outlookRows = new QGridLayout;
    outlookRows->setHorizontalSpacing(18);
    m_outlookWeek = valueField("outlookWeek");
    m_outlookMonth = valueField("outlookMonth");
    m_outlook3Month = valueField("outlook3Month");
    m_outlookYear = valueField("outlookYear");
    const std::pair<QString, QLabel *> outlooks[] = {{u"outlookWeek"_s, m_outlookWeek},
                                                     {u"outlookMonth"_s, m_outlookMonth},
                                                     {u"outlook3Month"_s, m_outlook3Month},
                                                     {u"outlookYear"_s, m_outlookYear}};
    for (int row = 0; row < 4; ++row) {
        outlookRows->addWidget(caption(outlooks[row].first), row, 0);
        outlookRows->addWidget(outlooks[row].second, row, 1);
    }
    outlookRows->setColumnStretch(2, 1);
    outlook->addLayout(outlookRows);
    outlook->addStretch();
    columns->addLayout(outlook, 1);

    layout->addLayout(columns);
    layout->addStretch();
    return page;
}

QWidget *QLXStatisticsController::makeGraphPage(const QString &headerKey, const QString &infoKey,
                                                QLXGraphView *&graphView, QButtonGroup *&modeSegments)
{
    auto *page = new QWidget;
    auto *layout = pageLayout(page, 35);
    layout->addWidget(heading(headerKey));
    layout->addWidget(information(infoKey));

    modeSegments = new QButtonGroup(page);
    auto *segments = new QHBoxLayout;
    segments->setSpacing(0);
    const QString keys[] = {u"graphTotal"_s, u"graph30days"_s, u"graph7days"_s};
    for (int segment = 0; segment < 3; ++segment) {
        auto *button = keyed(new QPushButton, keys[segment]);
        button->setCheckable(true);
        button->setChecked(segment == 0);
        modeSegments->addButton(button, segment);
        segments->addWidget(button);
    }
    segments->addStretch();
    layout->addSpacing(6);
    layout->addLayout(segments);
    layout->addSpacing(6);

    graphView = new QLXGraphView;
    graphView->setMinimumSize(240, 160);
    layout->addWidget(graphView, 1);
    return page;
}

void QLXStatisticsController::localize()
{
    const QList<QWidget *> widgets = findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        const QVariant key = widget->property(textKeyProperty);
        if (!key.isValid())
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setText(lexi::statisticsText(key.toString()));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(lexi::statisticsText(key.toString()));
    }
}
