#include "QLXTokenButton.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

QLXTokenButton::QLXTokenButton(const QString &title, QWidget *parent) : QAbstractButton(parent)
{
    setText(title);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
}

QColor QLXTokenButton::offColor()
{
    return QColor::fromRgbF(0.82f, 0.91f, 0.98f);
}

QColor QLXTokenButton::onColor()
{
    return QColor::fromRgbF(0.42f, 0.69f, 0.95f);
}

QSize QLXTokenButton::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(text()) + 20, height};
}

void QLXTokenButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -2, -2);
    const bool lit = isDown() || isChecked();
    QPainterPath path;
    path.addRoundedRect(box, 2, 2);
    painter.fillPath(path, lit ? onColor() : offColor());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawPath(path);
    }
    painter.setPen(titleColor(lit));
    painter.drawText(box, Qt::AlignCenter, text());
}

QColor QLXTokenButton::titleColor(bool lit)
{
    // White on the middle blue of a token that is on reads at barely 2.3:1; a dark navy reads at
    // over 6:1 there and still sets it apart from the dark grey on the light blue of one that is off.
    return lit ? QColor(20, 40, 70) : QColor(64, 64, 64);
}

void QLXTokenButton::mousePressEvent(QMouseEvent *event)
{
    m_pressPosition = event->position().toPoint();
    QAbstractButton::mousePressEvent(event);
}

void QLXTokenButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressPosition && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - *m_pressPosition).manhattanLength() >= QApplication::startDragDistance()) {
        m_pressPosition.reset();
        // A drag is no click: the button must not toggle when the mouse comes up.
        setDown(false);
        startDrag();
        return;
    }
    QAbstractButton::mouseMoveEvent(event);
}

void QLXTokenButton::startDrag()
{
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setText(text());
    drag->setMimeData(data);
    drag->setPixmap(grab());
    drag->setHotSpot(rect().center());
    drag->exec(Qt::CopyAction);
}
