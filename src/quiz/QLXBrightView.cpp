#include "QLXBrightView.h"

#include <QPainter>
#include <QPaintEvent>

QLXBrightView::QLXBrightView(QWidget *parent) : QWidget(parent) {}

void QLXBrightView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor::fromRgbF(0.95f, 0.95f, 0.95f));
}
