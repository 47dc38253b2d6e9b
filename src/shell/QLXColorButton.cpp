#include "QLXColorButton.h"

#include <QPainter>

QLXColorButton::QLXColorButton(QWidget *parent) : QAbstractButton(parent) {}

QSize QLXColorButton::sizeHint() const
{
    return {24, 24};
}

void QLXColorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), m_color);
    // The swatches are chosen with the keyboard too: the one that has the focus shows a ring in
    // the highlight colour inside its frame.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
    }
}
