#include "QLXPieChart.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

} // namespace

QLXPieChart::QLXPieChart(QWidget *parent) : QWidget(parent) {}

void QLXPieChart::setCorrectPercent(double fraction)
{
    m_correctPercent = finiteOrZero(fraction);
    update();
}

void QLXPieChart::setMisspelledPercent(double fraction)
{
    m_misspelledPercent = finiteOrZero(fraction);
    update();
}

void QLXPieChart::setEmpty(bool empty)
{
    m_isEmpty = empty;
    update();
}

void QLXPieChart::setCorrectColor(const QColor &color)
{
    m_correctColor = color;
    update();
}

void QLXPieChart::setMisspelledColor(const QColor &color)
{
    m_misspelledColor = color;
    update();
}

void QLXPieChart::setWrongColor(const QColor &color)
{
    m_wrongColor = color;
    update();
}

QSize QLXPieChart::sizeHint() const
{
    return {int(2 * radius) + 4, int(2 * radius) + 4};
}

void QLXPieChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    if (m_isEmpty) {
        painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.4f), 2));
        painter.drawEllipse(circle.adjusted(1, 1, -1, -1));
        return;
    }
    const auto wedge = [&](double fromDegrees, double toDegrees, const QColor &color) {
        if (toDegrees <= fromDegrees)
            return;
        QPainterPath path(centre);
        path.arcTo(circle, fromDegrees, toDegrees - fromDegrees);
        path.closeSubpath();
        painter.fillPath(path, color);
    };
    const double correctEnd = 90 + 360 * m_correctPercent;
    const double misspelledEnd = 90 + 360 * (m_correctPercent + m_misspelledPercent);
    wedge(90, correctEnd, m_correctColor);
    wedge(correctEnd, misspelledEnd, m_misspelledColor);
    wedge(misspelledEnd, 450, m_wrongColor);
}
