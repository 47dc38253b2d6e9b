#include "QLXBookmarkView.h"

#include "QLXColorTheme.h"

#include <QPainter>
#include <QPaintEvent>

QLXBookmarkView::QLXBookmarkView(QLXColorTheme &theme, QWidget *parent) : QWidget(parent), m_theme(theme)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_theme, &QLXColorTheme::currentColorChanged, this, qOverload<>(&QWidget::update));
    setColor(m_theme.index());
}

void QLXBookmarkView::setColor(qint64 index)
{
    m_theme.setCurrent(index, QLXColorTheme::standardColor(index));
    update();
}

void QLXBookmarkView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_theme.currentColor());
}
