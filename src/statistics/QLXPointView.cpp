#include "QLXPointView.h"

#include "GraphPainting.h"

#include <QPainter>

QLXPointView::QLXPointView(const lexi::GraphGeometry::Marker &marker) : m_marker(marker)
{
}

void QLXPointView::paint(QPainter &painter, double viewHeight) const
{
    const QRectF circle = lexi::GraphGeometry::markerCircle(m_marker.frame, m_isMouseAtHome);
    painter.setPen(QPen(m_borderColor, 2.0));
    painter.setBrush(m_fillColor);
    painter.drawEllipse(lexi::flipped(circle, viewHeight));
}
