#include "GraphGeometry.h"

#include "platform/values/WholeNumbers.h"

#include <algorithm>
#include <cmath>

namespace lexi {

GraphGeometry::GraphGeometry(QSizeF bounds, const QLXGraph &graph, double baseline)
    : m_bounds(bounds), m_graph(graph), m_baseline(baseline)
{
}

double GraphGeometry::acceptedBaseline(double requested, double maximum)
{
    const double baseline = std::max(requested, 0.0);
    return baseline > maximum ? 0.0 : baseline;
}

double GraphGeometry::round(double x)
{
    if (std::abs(x) <= 1.0)
        return 1.0;
    if (x < -1.0)
        return 0.0;
    const double step = std::trunc(std::pow(10.0, std::floor(std::log10(x))));
    return std::ceil(x / step) * step;
}

double GraphGeometry::plotRange() const
{
    return round(m_graph.maximumData() - m_baseline);
}

double GraphGeometry::scaledXValue(double index) const
{
    const double width = drawingXMax() - drawingXOffSet;
    const qsizetype count = m_graph.numberOfInstances();
    if (count <= 1)
        return drawingXOffSet + width * index / 30.0;
    return drawingXOffSet + index * width / double(count - 1);
}

double GraphGeometry::scaledYValue(double value) const
{
    const double height = drawingYMax() - drawingYOffSet;
    const double range = plotRange();
    // Only a baseline far above the maximum leaves no range; the points then sit near the bottom.
    if (range == 0.0)
        return height * (value - m_baseline) / 100.0 + drawingYOffSet;
    return (value - m_baseline) * height / range + drawingYOffSet;
}

QList<QPointF> GraphGeometry::points() const
{
    QList<QPointF> result;
    result.reserve(m_graph.numberOfInstances());
    for (const QLXDataInstance &point : m_graph.dataInstances())
        result.append({scaledXValue(point.xValue), scaledYValue(point.yValue)});
    return result;
}

QList<QPointF> GraphGeometry::lineVertices() const
{
    QList<QPointF> result = points();
    if (!result.isEmpty())
        result.prepend(result.first());
    return result;
}

QList<QPointF> GraphGeometry::areaVertices() const
{
    const QList<QPointF> scaled = points();
    if (scaled.size() < 2)
        return {};
    QList<QPointF> result;
    result.reserve(scaled.size() + 4);
    result.append(scaled.first());
    for (qsizetype i = 0; i < scaled.size(); ++i) {
        const QPointF &previous = scaled[std::max<qsizetype>(i - 1, 0)];
        result.append({previous.x(), previous.y() - 1.0});
    }
    result.append(scaled.last());
    result.append({drawingXMax(), drawingYOffSet});
    result.append({drawingXOffSet, drawingYOffSet});
    return result;
}

QList<GraphGeometry::Guide> GraphGeometry::horizontalGuides() const
{
    const double range = plotRange();
    QList<Guide> result;
    result.reserve(numberOfHorizontalGuides);
    for (qint64 k = 1; k <= numberOfHorizontalGuides; ++k) {
        const double value = std::floor(m_baseline + double(k) * range / double(numberOfHorizontalGuides));
        result.append({truncatedToInt64(value), scaledYValue(value)});
    }
    return result;
}

QRectF GraphGeometry::guideLabelFrame(const Guide &guide)
{
    return {5.0, guide.y, 40.0, 15.0};
}

QList<GraphGeometry::Marker> GraphGeometry::markers() const
{
    const QList<QPointF> scaled = points();
    QList<Marker> result;
    result.reserve(scaled.size());
    for (qsizetype i = 0; i < scaled.size(); ++i) {
        const QPointF &point = scaled[i];
        if (point.x() < 0.0 || point.y() < 0.0 || point.x() > m_bounds.width() || point.y() > m_bounds.height())
            continue;
        const double half = markerSide / 2.0;
        result.append({i, QRectF(point.x() - half, point.y() - half, markerSide, markerSide)});
    }
    return result;
}

QRectF GraphGeometry::markerCircle(const QRectF &frame, bool hovered)
{
    const double inset = hovered ? 2.0 : 4.0;
    return frame.adjusted(inset, inset, -inset, -inset);
}

QRectF GraphGeometry::hoverBoxFrame(const QRectF &markerFrame, QSizeF size, QSizeF viewSize)
{
    double x = markerFrame.x() + 20.0;
    double y = markerFrame.y() + 20.0;
    if (x + size.width() > viewSize.width())
        x = markerFrame.x() - size.width();
    if (y + size.height() > viewSize.height())
        y = markerFrame.y() - size.height();
    return {QPointF(x, y), size};
}

DetailBoxLayout DetailBoxLayout::of(QSizeF size, bool hasLabel)
{
    const double rowWidth = size.width() - 10.0;
    const double rowHeight = 15.0;
    const double firstRow = hasLabel ? 20.0 : 5.0;
    DetailBoxLayout layout;
    if (hasLabel)
        layout.label = QRectF(5.0, 5.0, rowWidth, rowHeight);
    layout.yLabel = QRectF(5.0, firstRow, rowWidth, rowHeight);
    layout.xLabel = QRectF(5.0, firstRow + rowHeight, rowWidth, rowHeight);
    layout.background = QRectF(2.0, 2.0, size.width() - 4.0, size.height() - 4.0 - (hasLabel ? 0.0 : rowHeight));
    return layout;
}

bool GraphHover::moveMouse(const QList<GraphGeometry::Marker> &markers, std::optional<QPointF> mouse)
{
    QList<qsizetype> hovered;
    std::optional<qsizetype> entered;
    if (mouse) {
        for (qsizetype i = 0; i < markers.size(); ++i) {
            if (!markers[i].frame.contains(*mouse))
                continue;
            hovered.append(i);
            if (!m_hovered.contains(i))
                entered = i;
        }
    }
    std::optional<qsizetype> active = entered;
    if (!active && m_active && hovered.contains(*m_active))
        active = m_active;
    if (!active && !hovered.isEmpty())
        active = hovered.last();
    const bool changed = hovered != m_hovered || active != m_active;
    m_hovered = std::move(hovered);
    m_active = active;
    return changed;
}

void GraphHover::clear()
{
    m_hovered.clear();
    m_active.reset();
}

bool GraphHover::isHovered(qsizetype marker) const
{
    return m_hovered.contains(marker);
}

} // namespace lexi
