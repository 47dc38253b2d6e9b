#include "QLXDetailView.h"

#include "GraphGeometry.h"
#include "GraphPainting.h"

#include <QPainter>

void QLXDetailView::paint(QPainter &painter, double viewHeight) const
{
    if (!m_frame)
        return;
    const lexi::DetailBoxLayout layout = lexi::DetailBoxLayout::of(m_frame->size(), !m_label.isEmpty());
    // The rows are laid out inside the box, whose own origin is its bottom left corner.
    const auto placed = [&](const QRectF &row) {
        return lexi::flipped(row.translated(m_frame->x(), m_frame->y()), viewHeight);
    };
    painter.setPen(QPen(m_borderColor, 2.0));
    painter.setBrush(m_backgroundColor);
    painter.drawRoundedRect(placed(layout.background), 5.0, 5.0);

    painter.setPen(m_textColor);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    const int alignment = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    if (layout.label)
        painter.drawText(placed(*layout.label), alignment, m_label);
    painter.drawText(placed(layout.yLabel), alignment, m_yLabel);
    painter.drawText(placed(layout.xLabel), alignment, m_xLabel);
}
