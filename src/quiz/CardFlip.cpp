#include "CardFlip.h"

#include "CardFlipGeometry.h"

#include "platform/dispatch/Dispatch.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <mutex>
#include <utility>

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

// The card as it is, inside a clear margin of this many points. Drawn turned with smoothed
// sampling, its edges fade out through the margin as antialiased edges would, at far less cost
// per frame than antialiasing the turned outline.
constexpr int pictureMargin = 1;

// The picture of the card about to flip in is painted in this many upright strips, one in each
// frame's turn until it is whole, so that no turn of the event loop paints the whole card.
constexpr int bottomPictureStrips = 2;

QImage clearPicture(const QWidget &card)
{
    const qreal ratio = card.devicePixelRatioF();
    const QSize size = card.size().grownBy(QMargins(pictureMargin, pictureMargin, pictureMargin, pictureMargin));
    QImage picture((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    return picture;
}

// Paints the part `source` of the card (the whole card when empty) into its picture, where it
// lies on the card.
void paintIntoPicture(QImage &picture, QWidget &card, const QRect &source = QRect())
{
    // The card paints the part asked for at the offset given.
    const QPoint offset = QPoint(pictureMargin, pictureMargin) + (source.isNull() ? QPoint() : source.topLeft());
    card.render(&picture, offset, QRegion(source), QWidget::DrawWindowBackground | QWidget::DrawChildren);
}

QImage pictureOf(QWidget &card)
{
    QImage picture = clearPicture(card);
    paintIntoPicture(picture, card);
    return picture;
}

// Strip `index` of `count` upright strips of equal width covering `rect`.
QRect strip(const QRect &rect, int index, int count)
{
    const int left = rect.width() * index / count;
    const int right = rect.width() * (index + 1) / count;
    return QRect(rect.left() + left, rect.top(), right - left, rect.height());
}

void paintPicture(QPainter &painter, const QImage &picture, const QRect &rect, double progress, bool beginningOnTop,
                  bool isReversed)
{
    const CardFlipFrame frame = pictureFrame(progress, beginningOnTop, isReversed);
    if (!frame.isFacingViewer || picture.isNull())
        return;
    painter.setTransform(CardFlipGeometry::pictureTransform(frame, rect), true);
    const QRectF bounds =
        CardFlipGeometry::pictureBounds(rect).adjusted(-pictureMargin, -pictureMargin, pictureMargin, pictureMargin);
    painter.drawImage(bounds, picture, QRectF(picture.rect()));
}

// Both pictures as they stand at `progress`, in the host's coordinates.
void paintPictures(QPainter &painter, const CardFlip::Pictures &pictures, double progress, bool isReversed)
{
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const bool beginningOnTop : {false, true}) {
        painter.save();
        paintPicture(painter, beginningOnTop ? pictures.top : pictures.bottom,
                     beginningOnTop ? pictures.topRect : pictures.bottomRect, progress, beginningOnTop, isReversed);
        painter.restore();
    }
}

} // namespace

// Draws the flip above the pages, covering only the part of them its pictures cover; clicks go
// through to them.
class CardFlip::Overlay final : public QWidget
{
public:
    Overlay(CardFlip &flip, QWidget &host, const QRect &area) : QWidget(&host), m_flip(flip)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(area);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const std::optional<PaintedFrame> &ahead = m_flip.m_shownFrame;
        QPainter painter(this);
        painter.translate(-pos());
        if (ahead && ahead->progress == m_flip.m_shownProgress)
            painter.drawImage(ahead->area.topLeft(), ahead->image);
        else
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
    // From here: the step that follows hands its save over before the flip plays.
    m_animation.emplace();
    m_pictures.top = pictureOf(card);
    m_pictures.topRect = rectInHost(card, m_host);
    return true;
}

void CardFlip::cancelFirstHalf()
{
    if (m_phase != Phase::Captured)
        return;
    m_pictures.top = QImage();
    m_animation.reset();
    m_phase = Phase::Idle;
}

void CardFlip::flipSecondHalf(QWidget &card, Direction direction)
{
    if (m_phase != Phase::Captured)
        return;
    m_phase = Phase::Playing;
    m_direction = direction;
    // The new face turns into view only in the flip's second half: its picture is painted in the
    // first frames' turns, while the old face has hardly begun to turn.
    m_pictures.bottom = QImage();
    m_bottomStripsPainted = 0;
    m_pictures.bottomRect = rectInHost(card, m_host);
    m_card = &card;
    // The pictures turn where the card was: it keeps its place in the layout, so nothing around
    // it moves while it is hidden.
    QSizePolicy policy = card.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    card.setSizePolicy(policy);
    holdFocusOf(card);
    card.hide();
    delete m_overlay;
    m_shownProgress = 0;
    m_overlay = new Overlay(*this, m_host, areaAt(m_shownProgress));
    m_overlay->show();
    m_overlay->raise();
    m_startedAt = m_clock.monotonicNow();
    m_frames = m_scheduler.every(frameInterval, [this] { showFrame(); });
}

double CardFlip::progress() const
{
    return progressAt(m_clock.monotonicNow());
}

double CardFlip::progressAt(Clock::Duration moment) const
{
    if (m_phase != Phase::Playing)
        return 0;
    const std::chrono::duration<double> elapsed = moment - m_startedAt;
    return std::clamp(elapsed / std::chrono::duration<double>(CardFlipGeometry::duration), 0.0, 1.0);
}

bool CardFlip::isBottomPictureWhole() const
{
    return m_bottomStripsPainted == bottomPictureStrips;
}

void CardFlip::paintBottomPictureStrip()
{
    if (isBottomPictureWhole() || !m_card)
        return;
    if (m_pictures.bottom.isNull())
        m_pictures.bottom = clearPicture(*m_card);
    paintIntoPicture(m_pictures.bottom, *m_card, strip(m_card->rect(), m_bottomStripsPainted, bottomPictureStrips));
    ++m_bottomStripsPainted;
}

void CardFlip::paintFrame(QPainter &painter, double progress)
{
    if (pictureFrame(progress, false, m_direction == Direction::Reverse).isFacingViewer) {
        while (!isBottomPictureWhole() && m_card)
            paintBottomPictureStrip();
    }
    paintPictures(painter, m_pictures, progress, m_direction == Direction::Reverse);
}

QRect CardFlip::areaAt(double progress) const
{
    const bool isReversed = m_direction == Direction::Reverse;
    return CardFlipGeometry::pictureArea(pictureFrame(progress, false, isReversed), m_pictures.bottomRect)
        .united(CardFlipGeometry::pictureArea(pictureFrame(progress, true, isReversed), m_pictures.topRect));
}

class CardFlip::FrameSlot
{
public:
    void put(PaintedFrame frame)
    {
        const std::lock_guard lock(m_mutex);
        m_frame = std::move(frame);
    }
    std::optional<PaintedFrame> take()
    {
        const std::lock_guard lock(m_mutex);
        return std::exchange(m_frame, std::nullopt);
    }

private:
    std::mutex m_mutex;
    std::optional<PaintedFrame> m_frame;
};

void CardFlip::paintAhead(double progress)
{
    if (!m_nextFrame)
        m_nextFrame = std::make_shared<FrameSlot>();
    m_isPaintingAhead = true;
    dispatch::globalAsync([slot = m_nextFrame, pictures = m_pictures, progress, area = areaAt(progress),
                           ratio = m_host.devicePixelRatioF(), isReversed = m_direction == Direction::Reverse] {
        QImage image((QSizeF(area.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(-area.topLeft());
        paintPictures(painter, pictures, progress, isReversed);
        painter.end();
        slot->put({progress, area, std::move(image)});
    });
}

void CardFlip::showFrame()
{
    if (progress() >= 1) {
        finish();
        return;
    }
    if (!m_overlay)
        return;
    if (!isBottomPictureWhole() && m_card) {
        // This frame's turn paints a strip of the new face instead; the old one has not visibly
        // moved yet.
        paintBottomPictureStrip();
        return;
    }
    // The overlay moves to where the pictures are now: only that and where they were is painted
    // anew, the pages below included. The frame painted is the one the area was found for: the
    // one painted ahead for this moment on another thread, or this moment's when that is late.
    std::optional<PaintedFrame> ahead = m_isPaintingAhead ? m_nextFrame->take() : std::nullopt;
    if (ahead)
        m_isPaintingAhead = false;
    // One that comes after the turns of later frames is older than the frame shown: the card
    // would turn back.
    if (ahead && ahead->progress < m_shownProgress)
        ahead.reset();
    m_shownProgress = ahead ? ahead->progress : progress();
    m_shownFrame = std::move(ahead);
    m_overlay->setGeometry(areaAt(m_shownProgress));
    m_overlay->update();
    if (!m_isPaintingAhead)
        paintAhead(progressAt(m_clock.monotonicNow() + frameInterval));
}

void CardFlip::finish()
{
    m_frames.cancel();
    delete m_overlay;
    if (m_card)
        m_card->show();
    m_card.clear();
    giveFocusBack();
    m_pictures = {};
    // A frame still being painted ahead is left to be dropped.
    m_nextFrame.reset();
    m_isPaintingAhead = false;
    m_shownFrame.reset();
    m_animation.reset();
    m_phase = Phase::Idle;
    emit finished();
}

// A hidden control's focus would pass on to the next control of the window, such as the
// toolbar's language pop-up, where the keys typed during the flip would then go.
void CardFlip::holdFocusOf(QWidget &card)
{
    QWidget *focus = card.window()->focusWidget();
    m_focusInCard = focus && card.isAncestorOf(focus) ? focus : nullptr;
    if (m_focusInCard)
        m_host.setFocus(Qt::OtherFocusReason);
}

void CardFlip::giveFocusBack()
{
    QWidget *control = std::exchange(m_focusInCard, nullptr);
    // Unless the learner or a step moved the focus meanwhile.
    if (control && m_host.window()->focusWidget() == &m_host && control->isVisible() && control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
}

} // namespace lexi
