#pragma once

#include "GraphGeometry.h"

#include <QColor>

class QPainter;

// The round marker on one point of a graph, painted by its QLXGraphView: a ring that grows while
// the mouse is over it.
class QLXPointView
{
public:
    explicit QLXPointView(const lexi::GraphGeometry::Marker &marker);

    const lexi::GraphGeometry::Marker &marker() const { return m_marker; }
    qsizetype assignedDataInstance() const { return m_marker.instance; }

    void setBorderColor(const QColor &color) { m_borderColor = color; }
    void setFillColor(const QColor &color) { m_fillColor = color; }
    bool isMouseAtHome() const { return m_isMouseAtHome; }
    void setMouseAtHome(bool atHome) { m_isMouseAtHome = atHome; }

    // Paints the marker into a view `viewHeight` high, whose y grows downwards.
    void paint(QPainter &painter, double viewHeight) const;

private:
    lexi::GraphGeometry::Marker m_marker;
    QColor m_borderColor = QColor::fromRgbF(1.0f / 3, 1.0f / 3, 1.0f / 3);
    QColor m_fillColor = Qt::white;
    bool m_isMouseAtHome = false;
};
