#include "QLXProgressBar.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

QLXProgressBar::QLXProgressBar(QWidget *parent) : QWidget(parent)
{
    setMinimumHeight(4);
}

void QLXProgressBar::setProgress(quint64 progress)
{
    m_progress = std::min(progress, m_total);
    updateFraction();
}

void QLXProgressBar::setTotal(quint64 total)
{
    m_total = std::max<quint64>(total, 1);
    updateFraction();
}

void QLXProgressBar::setCornerRadius(qreal radius)
{
    m_cornerRadius = radius;
    update();
}

void QLXProgressBar::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    update();
}

void QLXProgressBar::setProgressColor(const QColor &color)
{
    m_progressColor = color;
    update();
}

void QLXProgressBar::updateFraction()
{
    m_progressFraction = std::min(1.0, double(m_progress) / double(m_total));
    update();
}

void QLXProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), m_backgroundColor);
    // Starts one radius left of the bar, so that only the right end shows rounded.
    const QRectF done(-m_cornerRadius, 0, 2 * m_cornerRadius + width() * m_progressFraction, height());
    QPainterPath path;
    path.addRoundedRect(done, m_cornerRadius, m_cornerRadius);
    painter.fillPath(path, m_progressColor);
}
