#pragma once

#include <QAbstractButton>
#include <QPoint>

// One tag of the tag cloud: a toggle button drawn as a rounded label, blue when on, ringed in the
// highlight colour while it has the keyboard focus. A click toggles it when the mouse is released;
// dragging it away carries its title as plain text.
class QLXTokenButton : public QAbstractButton
{
    Q_OBJECT

public:
    static constexpr int height = 20;

    explicit QLXTokenButton(const QString &title, QWidget *parent = nullptr);

    // The title's width and 10 points on either side, by the button's height.
    QSize sizeHint() const override;

    static QColor offColor();
    static QColor onColor();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The title's colour on the on colour (lit: pressed or on) or on the off colour.
    static QColor titleColor(bool lit);
    void startDrag();

    std::optional<QPoint> m_pressPosition;
};
