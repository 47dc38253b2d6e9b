#pragma once

#include "QLXGraph.h"

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace lexi {

// Where a line graph's parts lie in a view of a given size. Coordinates are the graph's own: the
// origin at the bottom left corner, y growing upwards (a view painting top-down flips them).
//
// The plot runs from x = 20 to the width less 20 and from the bottom edge to 50 below the top. Its
// top stands for the guides' range above the baseline (round() of maximum - baseline), so every
// guide and every point up to the maximum lies inside the view.
class GraphGeometry
{
public:
    static constexpr double drawingXOffSet = 20.0;
    static constexpr double drawingYOffSet = 0.0;
    static constexpr qint64 numberOfHorizontalGuides = 4;
    // The side of a point's marker, centred on the point.
    static constexpr double markerSide = 20.0;

    struct Guide
    {
        // The value the guide's label shows.
        qint64 value = 0;
        double y = 0.0;
    };

    // A point that gets a marker: its index in the graph and the marker's frame.
    struct Marker
    {
        qsizetype instance = 0;
        QRectF frame;
    };

    // `graph` must outlive the geometry.
    GraphGeometry(QSizeF bounds, const QLXGraph &graph, double baseline);

    // The baseline a view keeps when asked for `requested`: 0 in place of a negative one or of
    // one above the graph's maximum.
    static double acceptedBaseline(double requested, double maximum);
    // The guides' range for a value range `x`: the smallest whole multiple of x's leading power of
    // ten that is not below x (37 gives 40, 120 gives 200, 8.5 gives 9); 1 for |x| <= 1, and 0
    // below -1.
    static double round(double x);

    double drawingXMax() const { return m_bounds.width() - 20.0; }
    double drawingYMax() const { return m_bounds.height() - 50.0; }
    // The x of the point at `index`: the first on the plot's left edge, the last on its right;
    // a single point stands on the left edge.
    double scaledXValue(double index) const;
    double scaledYValue(double value) const;

    // The graph's points, scaled.
    QList<QPointF> points() const;
    // The line: from each point's predecessor (the first's is itself) to the point.
    QList<QPointF> lineVertices() const;
    // The area under the line, closed along the bottom of the plot; empty for fewer than two
    // points. Its upper edge runs one unit below the line, rising to the last point itself.
    QList<QPointF> areaVertices() const;
    QList<Guide> horizontalGuides() const;
    // Where a guide's label stands.
    static QRectF guideLabelFrame(const Guide &guide);
    // The points inside the view, with their markers.
    QList<Marker> markers() const;
    // A marker's circle: within its frame inset by 2, by 2 more while the mouse is not over it.
    static QRectF markerCircle(const QRectF &frame, bool hovered);

    // Where the hover box of `size` stands beside a marker: above to the right, to the left when
    // it would pass the view's right edge, below when it would pass the top.
    static QRectF hoverBoxFrame(const QRectF &markerFrame, QSizeF size, QSizeF viewSize);

private:
    double plotRange() const;

    QSizeF m_bounds;
    const QLXGraph &m_graph;
    double m_baseline;
};

// The rows of a hover box of the given size, in the box's own coordinates (origin at its bottom
// left): from the bottom up the point's label, its y and its x text, each 15 high. Without a
// label the label row is left out and the other two move down into its place.
struct DetailBoxLayout
{
    std::optional<QRectF> label;
    QRectF yLabel;
    QRectF xLabel;
    // The rounded box behind the rows.
    QRectF background;

    static DetailBoxLayout of(QSizeF size, bool hasLabel);
};

// Which markers the mouse is over, and which one's hover box shows. Markers are named by their
// place in the list the geometry gave.
class GraphHover
{
public:
    // Follows the mouse (none once it left the view) over `markers`; whether anything changed.
    // The marker entered last shows its box; when the mouse leaves the one showing, another it is
    // still over takes its place.
    bool moveMouse(const QList<GraphGeometry::Marker> &markers, std::optional<QPointF> mouse);
    // Forgets every marker, as when they were all made anew.
    void clear();

    bool isHovered(qsizetype marker) const;
    std::optional<qsizetype> activeMarker() const { return m_active; }

private:
    QList<qsizetype> m_hovered;
    std::optional<qsizetype> m_active;
};

} // namespace lexi
