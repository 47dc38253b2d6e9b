#include "CardFlip.h"

#include "CardFlipGeometry.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace lexi {

namespace {

// About one frame per refresh of a 60 Hz screen.
constexpr std::chrono::milliseconds frameInterval{16};

QRect rectInHost(QWidget &widget, QWidget &host)
{
    return QRect(widget.mapTo(&host, QPoint(0, 0)), widget.size());
}

CardFlipFrame pictureFrame(double progress, bool beginningOnTop, bool isReversed)
{
    return CardFlipGeometry::frame(progress, beginningOnTop, CardFlipGeometry::scaleFactor, isReversed);
}

void paintPicture(QPainter &painter, const QPixmap &picture, const QRect &rect, double progress, bool beginningOnTop,
                  bool isReversed)
{
    const CardFlipFrame frame = pictureFrame(progress, beginningOnTop, isReversed);
    if (!frame.isFacingViewer || picture.isNull())
        return;
    painter.setTransform(CardFlipGeometry::pictureTransform(frame, rect));
    painter.drawPixmap(CardFlipGeometry::pictureBounds(rect), picture, QRectF(picture.rect()));
}

} // namespace

// Draws the flip above the pages; clicks go through to them.
class CardFlip::Overlay final : public QWidget
{
public:
    Overlay(CardFlip &flip, QWidget &host) : QWidget(&host), m_flip(flip)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(host.rect());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_flip.paintFrame(painter, m_flip.m_shownProgress);
    }

private:
    CardFlip &m_flip;
};

CardFlip::CardFlip(QWidget &host, dispatch::Scheduler &scheduler, const Clock &clock, QObject *parent)
    : QObject(parent), m_host(host), m_scheduler(scheduler), m_clock(clock)
{
}

CardFlip::~CardFlip()
{
    delete m_overlay;
}

bool CardFlip::flipFirstHalf(QWidget &card)
{
    if (m_phase != Phase::Idle)
        return false;
    m_phase = Phase::Captured;
    m_top = card.grab();
    m_topRect = rectInHost(card, m_host);
    return true;
}

void CardFlip::flipSecondHalf(QWidget &card, Direction direction)
{
    if (m_phase != Phase::Captured)
        return;
    m_phase = Phase::Playing;
    m_direction = direction;
    m_bottom = card.grab();
    m_bottomRect = rectInHost(card, m_host);
    m_card = &card;
    // The pictures turn where the card was: it keeps its place in the layout, so nothing around
    // it moves while it is hidden.
    QSizePolicy policy = card.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    card.setSizePolicy(policy);
    card.hide();
    delete m_overlay;
    m_overlay = new Overlay(*this, m_host);
    m_shownProgress = 0;
    m_shownArea = m_overlay->rect();
    m_overlay->show();
    m_overlay->raise();
    m_startedAt = m_clock.monotonicNow();
    m_frames = m_scheduler.every(frameInterval, [this] { showFrame(); });
}

double CardFlip::progress() const
{
    if (m_phase != Phase::Playing)
        return 0;
    const std::chrono::duration<double> elapsed = m_clock.monotonicNow() - m_startedAt;
    return std::clamp(elapsed / std::chrono::duration<double>(CardFlipGeometry::duration), 0.0, 1.0);
}

void CardFlip::paintFrame(QPainter &painter, double progress) const
{
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool isReversed = m_direction == Direction::Reverse;
    paintPicture(painter, m_bottom, m_bottomRect, progress, false, isReversed);
    paintPicture(painter, m_top, m_topRect, progress, true, isReversed);
    painter.resetTransform();
}

void CardFlip::showFrame()
{
    if (progress() >= 1) {
        finish();
        return;
    }
    if (!m_overlay)
        return;
    m_overlay->setGeometry(m_host.rect());
    // Only where the pictures were and are now is painted anew, the pages below included: the
    // frame painted is the one the area was found for.
    m_shownProgress = progress();
    const bool isReversed = m_direction == Direction::Reverse;
    const QRect area =
        CardFlipGeometry::pictureArea(pictureFrame(m_shownProgress, false, isReversed), m_bottomRect)
            .united(CardFlipGeometry::pictureArea(pictureFrame(m_shownProgress, true, isReversed), m_topRect));
    m_overlay->update(m_shownArea.united(area));
    m_shownArea = area;
}

void CardFlip::finish()
{
    m_frames.cancel();
    delete m_overlay;
    if (m_card)
        m_card->show();
    m_card.clear();
    m_top = QPixmap();
    m_bottom = QPixmap();
    m_phase = Phase::Idle;
    emit finished();
}

} // namespace lexi
