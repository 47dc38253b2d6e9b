#include "QLXGraphView.h"

#include "GraphPainting.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor areaColor = QColor::fromRgbF(0.5f, 0.5f, 0.5f);
const QColor graphColor = Qt::white;
const QColor guideColor = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.3f);
const QColor guideLabelColor = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.7f);

} // namespace

QLXGraphView::QLXGraphView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_detailView.setBackgroundColor(QColor::fromRgbF(0.4f, 0.4f, 0.4f, 0.9f));
}

void QLXGraphView::setGraph(const QLXGraph &graph)
{
    m_graph = graph;
    putPoints();
    createHorizontalGuides();
}

void QLXGraphView::setBaseline(double baseline)
{
    m_baseline = lexi::GraphGeometry::acceptedBaseline(baseline, m_graph.maximumData());
    putPoints();
    createHorizontalGuides();
}

void QLXGraphView::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    update();
}

lexi::GraphGeometry QLXGraphView::geometry() const
{
    return lexi::GraphGeometry(size(), m_graph, m_baseline);
}

void QLXGraphView::putPoints()
{
    m_hover.clear();
    m_detailView.hide();
    m_points.clear();
    for (const lexi::GraphGeometry::Marker &marker : geometry().markers())
        m_points.append(QLXPointView(marker));
    update();
}

void QLXGraphView::createHorizontalGuides()
{
    m_horizontalGuides = geometry().horizontalGuides();
    update();
}

void QLXGraphView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    putPoints();
    createHorizontalGuides();
}

void QLXGraphView::mouseMoveEvent(QMouseEvent *event)
{
    followMouse(lexi::flipped(event->position(), height()));
}

void QLXGraphView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    followMouse(std::nullopt);
}

void QLXGraphView::followMouse(std::optional<QPointF> position)
{
    QList<lexi::GraphGeometry::Marker> markers;
    markers.reserve(m_points.size());
    for (const QLXPointView &point : m_points)
        markers.append(point.marker());
    if (!m_hover.moveMouse(markers, position))
        return;
    for (qsizetype i = 0; i < m_points.size(); ++i)
        m_points[i].setMouseAtHome(m_hover.isHovered(i));
    if (const std::optional<qsizetype> active = m_hover.activeMarker())
        pointCaughtMouse(m_points[*active]);
    else
        pointMouseEscaped();
    update();
}

void QLXGraphView::pointCaughtMouse(const QLXPointView &point)
{
    const QLXDataInstance &instance = m_graph.dataInstances()[point.assignedDataInstance()];
    m_detailView.setLabel(instance.label);
    m_detailView.setXLabel(instance.xlabel);
    m_detailView.setYLabel(instance.ylabel);
    m_detailView.showAt(lexi::GraphGeometry::hoverBoxFrame(point.marker().frame, QLXDetailView::size, size()));
}

void QLXGraphView::pointMouseEscaped()
{
    m_detailView.hide();
}

void QLXGraphView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double viewHeight = height();
    painter.fillRect(rect(), m_backgroundColor);

    const lexi::GraphGeometry plot = geometry();
    const QList<QPointF> line = plot.lineVertices();
    if (!line.isEmpty()) {
        QPainterPath path(lexi::flipped(line.first(), viewHeight));
        for (qsizetype i = 1; i < line.size(); ++i)
            path.lineTo(lexi::flipped(line[i], viewHeight));
        painter.setPen(QPen(graphColor, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    const QList<QPointF> area = plot.areaVertices();
    if (!area.isEmpty()) {
        QPolygonF polygon;
        polygon.reserve(area.size());
        for (const QPointF &vertex : area)
            polygon.append(lexi::flipped(vertex, viewHeight));
        painter.setPen(Qt::NoPen);
        painter.setBrush(areaColor);
        painter.drawPolygon(polygon);
    }
    paintGuides(painter);
    for (const QLXPointView &point : m_points)
        point.paint(painter, viewHeight);
    m_detailView.paint(painter, viewHeight);
}

void QLXGraphView::paintGuides(QPainter &painter) const
{
    const double viewHeight = height();
    painter.setPen(QPen(guideColor, 1.0));
    for (const lexi::GraphGeometry::Guide &guide : m_horizontalGuides) {
        // On a pixel's middle, so that the one-pixel line stays sharp.
        const double y = std::floor(viewHeight - guide.y) + 0.5;
        painter.drawLine(QPointF(0.0, y), QPointF(width(), y));
    }
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(guideLabelColor);
    for (const lexi::GraphGeometry::Guide &guide : m_horizontalGuides) {
        painter.drawText(lexi::flipped(lexi::GraphGeometry::guideLabelFrame(guide), viewHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QString::number(guide.value));
    }
}
