#pragma once

#include <QPainterPath>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QLXPopoverShadow;

// A panel inside a window, with an arrow pointing at the part of a view it belongs to: to the left
// of that part when there is room, else to its right. It stays until its owner closes it (a
// pop-up window would close itself on a click elsewhere, behind its owner's back). While the
// keyboard is inside it, Tab and Backtab go round its own controls, as in a window of its own.
// Its soft shadow is a sibling stacked just under it that lets the mouse through, and the panel
// itself takes the mouse only where its body and arrow are painted: clicks, hovering and the wheel
// in the shadow's band reach what lies beneath, the row the arrow points at included.
class QLXPopover : public QWidget
{
    Q_OBJECT

public:
    static constexpr int arrowLength = 10;
    static constexpr int arrowHalfWidth = 10;
    // The band around the panel its shadow is painted in.
    static constexpr int shadowWidth = 8;
    enum class Edge { Left, Right };

    // `host` is the widget the panel floats over (usually the window's central widget).
    explicit QLXPopover(QWidget *host);
    ~QLXPopover() override;

    // Takes over `content` (it becomes a child of the panel).
    void setContentWidget(QWidget *content);

    // Shows the panel beside `rect` of `view`, the arrow pointing at its middle.
    void showRelativeToRect(QWidget *view, const QRect &rect);
    // Moves an open panel along with its rectangle.
    void reposition();
    // Hides the panel. Keyboard focus inside it goes back to where it was when the panel opened
    // (else to the view it pointed at), never on to whatever comes next in the window.
    void close();

    // Where the arrow sits: on the panel's edge facing the rectangle.
    Edge arrowEdge() const { return m_arrowEdge; }
    // The arrow's tip, in the host's coordinates.
    QPoint arrowTip() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QRect panelRect() const;
    // The panel's outline, through the middle of its border.
    QRectF panelOutline() const;
    QPainterPath bodyPath() const;
    // Fits the mask and the shadow to the panel's size and arrow.
    void updateShape();

    QPointer<QLXPopoverShadow> m_shadow;
    QPointer<QWidget> m_view;
    QPointer<QWidget> m_focusBefore;
    QRect m_rect;
    Edge m_arrowEdge = Edge::Right;
    int m_arrowY = 0;
};
