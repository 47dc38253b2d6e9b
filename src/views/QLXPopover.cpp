#include "QLXPopover.h"

#include <QBitmap>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

constexpr int cornerRadius = 6;
constexpr int margin = 4;

} // namespace

// The popover's soft shadow, a little below its panel: rings fading outwards, each over the ones
// inside. It is painted rather than blurred, as a blurring effect would render the whole panel and
// blur it again for every change inside it, a pressed button's too.
class QLXPopoverShadow : public QWidget
{
public:
    explicit QLXPopoverShadow(QWidget *host) : QWidget(host)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

    void setPanelOutline(const QRectF &outline)
    {
        m_panelOutline = outline;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 22));
        for (int ring = QLXPopover::shadowWidth - 2; ring > 0; ring -= 2)
            painter.drawRoundedRect(m_panelOutline.adjusted(-ring, 2 - ring, ring, 2 + ring), cornerRadius + ring,
                                    cornerRadius + ring);
    }

private:
    QRectF m_panelOutline;
};

QLXPopover::QLXPopover(QWidget *host) : QWidget(host), m_shadow(new QLXPopoverShadow(host))
{
    hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(shadowWidth + arrowLength + 12, shadowWidth + 12, shadowWidth + arrowLength + 12,
                               shadowWidth + 12);
    host->installEventFilter(this);
}

QLXPopover::~QLXPopover()
{
    delete m_shadow;
}

void QLXPopover::setContentWidget(QWidget *content)
{
    layout()->addWidget(content);
}

void QLXPopover::showRelativeToRect(QWidget *view, const QRect &rect)
{
    if (QWidget *focused = window()->focusWidget(); focused && !isAncestorOf(focused))
        m_focusBefore = focused;
    m_view = view;
    m_rect = rect;
    show();
    raise();
    reposition();
}

void QLXPopover::reposition()
{
    if (!m_view || !isVisible())
        return;
    QWidget *host = parentWidget();
    const QSize size = sizeHint().expandedTo(minimumSizeHint());
    const QRect target(m_view->mapTo(host, m_rect.topLeft()), m_rect.size());
    // The arrow's tip lies inside the shadow's band.
    int x = target.left() - size.width() + shadowWidth;
    m_arrowEdge = Edge::Right;
    if (x < margin) {
        x = target.right() + 1 - shadowWidth;
        m_arrowEdge = Edge::Left;
    }
    x = std::clamp(x, 0, std::max(0, host->width() - size.width()));
    const int tipY = target.center().y();
    const int y = std::clamp(tipY - size.height() / 2, margin, std::max(margin, host->height() - size.height() - margin));
    setGeometry(x, y, size.width(), size.height());
    m_arrowY = std::clamp(tipY - y, shadowWidth + cornerRadius + arrowHalfWidth,
                          size.height() - shadowWidth - cornerRadius - arrowHalfWidth);
    updateShape();
    update();
}

void QLXPopover::updateShape()
{
    if (size().isEmpty())
        return;
    // The mask holds every pixel the body's antialiased edge touches, so that none of it is cut off.
    QImage body(size(), QImage::Format_ARGB32_Premultiplied);
    body.fill(Qt::transparent);
    QPainter painter(&body);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(bodyPath());
    painter.end();
    setMask(QBitmap::fromImage(body.createMaskFromColor(qRgba(0, 0, 0, 0))));
    m_shadow->setGeometry(geometry());
    m_shadow->setPanelOutline(panelOutline());
}

void QLXPopover::close()
{
    QWidget *focused = window()->focusWidget();
    const bool hadFocus = !focused || isAncestorOf(focused);
    // Focus is handed back before the panel hides, so that Qt never moves it on by itself.
    if (hadFocus) {
        for (QWidget *candidate : {m_focusBefore.data(), m_view.data()}) {
            if (candidate && candidate->isVisible() && candidate->isEnabled()) {
                candidate->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    }
    hide();
    m_view = nullptr;
    m_focusBefore = nullptr;
}

QPoint QLXPopover::arrowTip() const
{
    return geometry().topLeft() + QPoint(m_arrowEdge == Edge::Right ? width() - shadowWidth : shadowWidth, m_arrowY);
}

QRect QLXPopover::panelRect() const
{
    return rect().adjusted(shadowWidth + (m_arrowEdge == Edge::Left ? arrowLength : 0), shadowWidth,
                           -shadowWidth - (m_arrowEdge == Edge::Right ? arrowLength : 0), -shadowWidth);
}

QRectF QLXPopover::panelOutline() const
{
    return QRectF(panelRect()).adjusted(0.5, 0.5, -0.5, -0.5);
}

QPainterPath QLXPopover::bodyPath() const
{
    const QRectF panel = panelOutline();
    QPainterPath path;
    path.addRoundedRect(panel, cornerRadius, cornerRadius);
    QPainterPath arrow;
    if (m_arrowEdge == Edge::Right) {
        arrow.moveTo(panel.right() - 1, m_arrowY - arrowHalfWidth);
        arrow.lineTo(width() - shadowWidth - 0.5, m_arrowY);
        arrow.lineTo(panel.right() - 1, m_arrowY + arrowHalfWidth);
    } else {
        arrow.moveTo(panel.left() + 1, m_arrowY - arrowHalfWidth);
        arrow.lineTo(shadowWidth + 0.5, m_arrowY);
        arrow.lineTo(panel.left() + 1, m_arrowY + arrowHalfWidth);
    }
    arrow.closeSubpath();
    return path.united(arrow);
}

bool QLXPopover::event(QEvent *event)
{
    // The shadow follows the panel, just under it.
    if (m_shadow) {
        switch (event->type()) {
        case QEvent::Show:
            m_shadow->show();
            m_shadow->stackUnder(this);
            break;
        case QEvent::ZOrderChange:
            m_shadow->stackUnder(this);
            break;
        case QEvent::Hide:
            m_shadow->hide();
            break;
        case QEvent::Move:
            m_shadow->move(pos());
            break;
        case QEvent::Resize:
            updateShape();
            break;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

void QLXPopover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawPath(bodyPath());
}

bool QLXPopover::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        reposition();
    return QWidget::eventFilter(watched, event);
}

bool QLXPopover::focusNextPrevChild(bool next)
{
    QWidget *focused = window()->focusWidget();
    if (!focused || !isAncestorOf(focused))
        return QWidget::focusNextPrevChild(next);
    for (QWidget *candidate = next ? focused->nextInFocusChain() : focused->previousInFocusChain();
         candidate != focused; candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain()) {
        if (isAncestorOf(candidate) && candidate->isVisible() && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}
