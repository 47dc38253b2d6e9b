#include "DetachedWidgetOwner.h"

#include <QEvent>

DetachedWidgetOwner::~DetachedWidgetOwner() = default;

void DetachedWidgetOwner::hold(std::unique_ptr<QWidget> widget)
{
    QWidget *held = widget.get();
    held->installEventFilter(this);
    m_detached = std::move(widget);
    followParentOf(held);
}

bool DetachedWidgetOwner::eventFilter(QObject *watched, QEvent *event)
{
    // A widget is not told of a parent change while it is deleted, so this never takes back a
    // widget that is going.
    if (event->type() == QEvent::ParentChange)
        followParentOf(static_cast<QWidget *>(watched));
    return QObject::eventFilter(watched, event);
}

void DetachedWidgetOwner::followParentOf(QWidget *widget)
{
    if (widget->parent()) {
        if (m_detached.get() == widget)
            (void)m_detached.release();
    } else if (!m_detached) {
        m_detached.reset(widget);
    }
}
