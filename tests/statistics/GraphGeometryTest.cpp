#include "statistics/GraphGeometry.h"

#include <gtest/gtest.h>

using lexi::GraphGeometry;
using lexi::GraphHover;

namespace {

QLXGraph graphOf(const QList<double> &values)
{
    return QLXGraph::initWithLabels(std::nullopt, values, std::nullopt, std::nullopt);
}

QList<qint64> guideValues(const GraphGeometry &geometry)
{
    QList<qint64> result;
    for (const GraphGeometry::Guide &guide : geometry.horizontalGuides())
        result.append(guide.value);
    return result;
}

TEST(GraphGeometryTest, RoundsARangeUpToAMultipleOfItsLeadingPowerOfTen)
{
    const struct
    {
        double range, rounded;
    } cases[] = {{37, 40},   {100, 100}, {8.5, 9},  {120, 200}, {0, 1},     {-5, 0},     {1, 1},
                 {-1, 1},    {0.4, 1},   {1.5, 2},  {30, 30},   {310, 400}, {101, 200},  {999, 1000},
                 {1000, 1000}, {1001, 2000}, {4.5, 5}, {9.2e18, 1e19}};
    for (const auto &c : cases)
        EXPECT_EQ(GraphGeometry::round(c.range), c.rounded) << c.range;
}

TEST(GraphGeometryTest, ScalesThePointsIntoThePlot)
{
    const QLXGraph graph = graphOf({10, 20, 30});
    const GraphGeometry geometry({420, 250}, graph, 0);
    EXPECT_EQ(geometry.drawingXMax(), 400);
    EXPECT_EQ(geometry.drawingYMax(), 200);
    const QList<QPointF> points = geometry.points();
    ASSERT_EQ(points.size(), 3);
    const double xs[] = {20, 210, 400};
    const double ys[] = {66.67, 133.33, 200};
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(points[i].x(), xs[i]) << i;
        EXPECT_NEAR(points[i].y(), ys[i], 0.005) << i;
    }
    EXPECT_EQ(guideValues(geometry), (QList<qint64>{7, 15, 22, 30}));
    const QList<GraphGeometry::Guide> guides = geometry.horizontalGuides();
    EXPECT_NEAR(guides[0].y, 46.67, 0.005);
    EXPECT_DOUBLE_EQ(guides[3].y, 200);
    EXPECT_EQ(GraphGeometry::guideLabelFrame(guides[1]), QRectF(5, 100, 40, 15));

    // The line starts with a segment from the first point to itself; the area runs one unit
    // below it, up to the last point, and closes along the bottom.
    EXPECT_EQ(geometry.lineVertices(), (QList<QPointF>{points[0], points[0], points[1], points[2]}));
    const QPointF below(0, 1);
    EXPECT_EQ(geometry.areaVertices(), (QList<QPointF>{points[0], points[0] - below, points[0] - below,
                                                       points[1] - below, points[2], {400, 0}, {20, 0}}));
}

TEST(GraphGeometryTest, OnePointStandsOnTheLeftEdgeWithoutArea)
{
    const QLXGraph graph = graphOf({12});
    const GraphGeometry geometry({420, 250}, graph, 0);
    ASSERT_EQ(geometry.points().size(), 1);
    EXPECT_EQ(geometry.points()[0].x(), 20);
    EXPECT_EQ(geometry.lineVertices(), QList<QPointF>(2, geometry.points()[0]));
    EXPECT_TRUE(geometry.areaVertices().isEmpty());
    EXPECT_EQ(geometry.markers().size(), 1);

    const QLXGraph empty;
    const GraphGeometry nothing({420, 250}, empty, 0);
    EXPECT_TRUE(nothing.lineVertices().isEmpty());
    EXPECT_TRUE(nothing.markers().isEmpty());
    EXPECT_EQ(nothing.horizontalGuides().size(), 4);
}

TEST(GraphGeometryTest, AllZerosLieOnTheBottomEdge)
{
    const QLXGraph graph = graphOf({0, 0, 0, 0});
    const GraphGeometry geometry({300, 200}, graph, 0);
    for (const QPointF &point : geometry.points())
        EXPECT_EQ(point.y(), 0);
    EXPECT_EQ(geometry.markers().size(), 4);
}

// Guides and the points up to the maximum lie inside the view, whatever the range.
TEST(GraphGeometryTest, EveryGuideAndPointLiesInsideTheView)
{
    const struct
    {
        QList<double> values;
        double baseline;
    } cases[] = {{{0, 310}, 0}, {{0, 101}, 0}, {{7, 8}, 0}, {{30, 999}, 10}, {{5.0, 7.5, 6.1}, 3.0},
                 {{0, 0}, 0}, {{50, 50}, 48}};
    const QSizeF view(640, 300);
    for (const auto &c : cases) {
        const double top = c.values.last();
        const QLXGraph graph = graphOf(c.values);
        const GraphGeometry geometry(view, graph, c.baseline);
        const QList<GraphGeometry::Guide> guides = geometry.horizontalGuides();
        ASSERT_EQ(guides.size(), 4) << "up to " << top;
        for (const GraphGeometry::Guide &guide : guides) {
            EXPECT_GE(guide.y, 0) << "up to " << top;
            EXPECT_LE(guide.y, geometry.drawingYMax()) << "up to " << top;
            EXPECT_LE(GraphGeometry::guideLabelFrame(guide).bottom(), view.height()) << "up to " << top;
        }
        EXPECT_EQ(guides.last().y, geometry.drawingYMax()) << "up to " << top;
        EXPECT_EQ(geometry.markers().size(), c.values.size()) << "up to " << top;
    }
}

TEST(GraphGeometryTest, APointOutsideTheViewHasNoMarkerButStaysInTheLine)
{
    const QLXGraph graph = graphOf({-20, 10, 30});
    const GraphGeometry geometry({420, 250}, graph, 0);
    ASSERT_LT(geometry.points()[0].y(), 0);
    const QList<GraphGeometry::Marker> markers = geometry.markers();
    ASSERT_EQ(markers.size(), 2);
    EXPECT_EQ(markers[0].instance, 1);
    EXPECT_EQ(markers[0].frame, QRectF(200, 56.666666666666664, 20, 20));
    EXPECT_EQ(geometry.lineVertices().size(), 4);

    // A view too low for its plot puts every point below its bottom edge.
    const QLXGraph rising = graphOf({10, 30});
    const GraphGeometry flat({420, 40}, rising, 0);
    EXPECT_TRUE(flat.markers().isEmpty());
}

TEST(GraphGeometryTest, TheBaselineIsNeverNegativeNorAboveTheMaximum)
{
    EXPECT_EQ(GraphGeometry::acceptedBaseline(-20, 100), 0);
    EXPECT_EQ(GraphGeometry::acceptedBaseline(150, 100), 0);
    EXPECT_EQ(GraphGeometry::acceptedBaseline(10, 100), 10);
    EXPECT_EQ(GraphGeometry::acceptedBaseline(100, 100), 100);
}

TEST(GraphGeometryTest, TheHoverBoxFlipsAtTheRightAndTopEdges)
{
    const QSizeF view(420, 250);
    const QSizeF box(100, 60);
    const struct
    {
        QPointF marker;
        QPointF box;
    } cases[] = {{{10, 10}, {30, 30}},    {{300, 170}, {320, 190}}, {{350, 10}, {250, 30}},
                 {{10, 200}, {30, 140}}, {{350, 200}, {250, 140}}};
    for (const auto &c : cases) {
        const QRectF frame = GraphGeometry::hoverBoxFrame(QRectF(c.marker, QSizeF(20, 20)), box, view);
        EXPECT_EQ(frame, QRectF(c.box, box)) << c.marker.x() << ", " << c.marker.y();
    }
}

TEST(GraphGeometryTest, AMarkerGrowsWhileHovered)
{
    const QRectF frame(30, 40, 20, 20);
    EXPECT_EQ(GraphGeometry::markerCircle(frame, false), QRectF(34, 44, 12, 12));
    EXPECT_EQ(GraphGeometry::markerCircle(frame, true), QRectF(32, 42, 16, 16));
}

TEST(GraphGeometryTest, TheHoverBoxLeavesOutAnEmptyLabel)
{
    const lexi::DetailBoxLayout labelled = lexi::DetailBoxLayout::of({100, 60}, true);
    EXPECT_EQ(labelled.label, QRectF(5, 5, 90, 15));
    EXPECT_EQ(labelled.yLabel, QRectF(5, 20, 90, 15));
    EXPECT_EQ(labelled.xLabel, QRectF(5, 35, 90, 15));
    EXPECT_EQ(labelled.background, QRectF(2, 2, 96, 56));

    const lexi::DetailBoxLayout unlabelled = lexi::DetailBoxLayout::of({100, 60}, false);
    EXPECT_EQ(unlabelled.label, std::nullopt);
    EXPECT_EQ(unlabelled.yLabel, QRectF(5, 5, 90, 15));
    EXPECT_EQ(unlabelled.xLabel, QRectF(5, 20, 90, 15));
    EXPECT_EQ(unlabelled.background, QRectF(2, 2, 96, 41));
}

TEST(GraphHoverTest, TheMarkerEnteredLastShowsItsBox)
{
    // Two markers that overlap between x = 10 and 20.
    const QList<GraphGeometry::Marker> markers = {{0, QRectF(0, 0, 20, 20)}, {1, QRectF(10, 0, 20, 20)}};
    GraphHover hover;
    EXPECT_FALSE(hover.moveMouse(markers, QPointF(40, 5)));
    EXPECT_EQ(hover.activeMarker(), std::nullopt);

    EXPECT_TRUE(hover.moveMouse(markers, QPointF(5, 5)));
    EXPECT_EQ(hover.activeMarker(), 0);
    EXPECT_TRUE(hover.isHovered(0));
    EXPECT_FALSE(hover.isHovered(1));
    EXPECT_FALSE(hover.moveMouse(markers, QPointF(6, 6)));

    EXPECT_TRUE(hover.moveMouse(markers, QPointF(15, 5)));
    EXPECT_EQ(hover.activeMarker(), 1);
    EXPECT_TRUE(hover.isHovered(0));
    EXPECT_TRUE(hover.isHovered(1));

    // Leaving the one that shows hands the box to the one the mouse is still over.
    EXPECT_TRUE(hover.moveMouse(markers, QPointF(5, 5)));
    EXPECT_EQ(hover.activeMarker(), 0);
    EXPECT_FALSE(hover.isHovered(1));

    EXPECT_TRUE(hover.moveMouse(markers, std::nullopt));
    EXPECT_EQ(hover.activeMarker(), std::nullopt);
    EXPECT_FALSE(hover.isHovered(0));

    hover.moveMouse(markers, QPointF(25, 5));
    hover.clear();
    EXPECT_EQ(hover.activeMarker(), std::nullopt);
    EXPECT_FALSE(hover.isHovered(1));
}

} // namespace
