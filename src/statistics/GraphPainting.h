#pragma once

#include <QPointF>
#include <QRectF>

namespace lexi {

// From a graph's coordinates (y growing upwards from the bottom edge) to a widget's, `height` high.
inline QPointF flipped(const QPointF &point, double height)
{
    return {point.x(), height - point.y()};
}

inline QRectF flipped(const QRectF &rect, double height)
{
    return {rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height()};
}

} // namespace lexi
