#include "statistics/QLXGraphView.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::GraphGeometry;

namespace {

struct GraphViewTest : testing::Test
{
    GraphViewTest()
    {
        view.resize(420, 250);
        view.setGraph(QLXGraph::initWithLabels(std::nullopt, QList<double>{10, 20, 30},
                                               QStringList{u"1 May"_s, u"2 May"_s, u"3 May"_s},
                                               QStringList{u"10 words"_s, u"20 words"_s, u"30 words"_s}));
        view.setBaseline(-20);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // The middle of a marker, where the mouse goes in the view's own coordinates.
    QPoint centreOf(qsizetype marker) const
    {
        const QRectF frame = view.points()[marker].marker().frame;
        return QPointF(frame.center().x(), view.height() - frame.center().y()).toPoint();
    }

    QLXGraphView view;
};

TEST_F(GraphViewTest, HoveringAMarkerShowsItsTextsAndMovingAwayHidesThem)
{
    EXPECT_EQ(view.baseline(), 0);
    ASSERT_EQ(view.points().size(), 3);
    EXPECT_FALSE(view.detailView().frame());

    QTest::mouseMove(&view, centreOf(1));
    ASSERT_TRUE(view.detailView().frame());
    EXPECT_EQ(view.detailView().xLabel(), u"2 May"_s);
    EXPECT_EQ(view.detailView().yLabel(), u"20 words"_s);
    EXPECT_TRUE(view.points()[1].isMouseAtHome());
    EXPECT_FALSE(view.points()[0].isMouseAtHome());
    const QRectF marker = view.points()[1].marker().frame;
    EXPECT_EQ(*view.detailView().frame(), QRectF(marker.x() + 20, marker.y() + 20, 100, 60));

    // The last point's box would pass the right and the top edge: it stands left of and below it.
    QTest::mouseMove(&view, centreOf(2));
    ASSERT_TRUE(view.detailView().frame());
    EXPECT_EQ(view.detailView().yLabel(), u"30 words"_s);
    const QRectF last = view.points()[2].marker().frame;
    EXPECT_EQ(*view.detailView().frame(), QRectF(last.x() - 100, last.y() - 60, 100, 60));
    EXPECT_FALSE(view.points()[1].isMouseAtHome());

    QTest::mouseMove(&view, QPoint(120, 20));
    EXPECT_FALSE(view.detailView().frame());
    for (const QLXPointView &point : view.points())
        EXPECT_FALSE(point.isMouseAtHome());
}

TEST_F(GraphViewTest, AResizeLaysTheMarkersAndGuidesOutAnew)
{
    QTest::mouseMove(&view, centreOf(0));
    ASSERT_TRUE(view.detailView().frame());
    view.resize(620, 350);
    EXPECT_FALSE(view.detailView().frame());
    ASSERT_EQ(view.points().size(), 3);
    EXPECT_EQ(view.points()[2].marker().frame, QRectF(590, 290, 20, 20));
    EXPECT_EQ(view.horizontalGuides().last().y, 300);

    // A graph whose points all fall out of a view too low for them keeps no marker.
    view.resize(620, 40);
    EXPECT_TRUE(view.points().isEmpty());
}

} // namespace
