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
}
