#pragma once

#include <QAbstractButton>
#include <QColor>

// A button that shows one colour: a black frame of one pixel around a square of its colour, and a
// focus ring while it has the keyboard focus. Nothing else of an ordinary button is drawn.
class QLXColorButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QLXColorButton(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    // Takes effect at the next repaint.
    void setColor(const QColor &color) { m_color = color; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::green;
};
