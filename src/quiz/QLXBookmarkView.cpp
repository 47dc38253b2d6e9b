#include "QLXBookmarkView.h"

#include "QLXColorTheme.h"

#include <QPainter>
#include <QPaintEvent>

QLXBookmarkView::QLXBookmarkView(QLXColorTheme &theme, QWidget *parent) : QWidget(parent), m_theme(theme)
{
    for (qint64 index = 0; index < 6; ++index)
        m_colors[index] = QLXColorTheme::standardColor(index);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_theme, &QLXColorTheme::currentColorChanged, this, qOverload<>(&QWidget::update));
    setColor(m_theme.index());
}

void QLXBookmarkView::setColor(qint64 index)
{
    m_theme.setCurrent(index, index >= 1 && index <= 5 ? m_colors[index] : m_colors[0]);
    update();
}

void QLXBookmarkView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_theme.currentColor());
}
