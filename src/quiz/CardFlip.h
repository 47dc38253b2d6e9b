#pragma once

#include "platform/ports/Clock.h"
#include "platform/dispatch/ForegroundAnimation.h"
#include "platform/dispatch/Scheduler.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <memory>
#include <optional>

class QPainter;
class QWidget;

namespace lexi {

// The card flip of the quiz pages. The first half takes a picture of the card before a step
// changes it; the second half takes a picture of the changed card, hides the card and turns the
// two pictures over it, drawn on top of `host` (the page stack), for 0.75 s; then the card shows
// again. A flip asked for while one runs is left out, and the step then changes the card at once.
// Each frame is painted ahead on another thread, so that a frame's turn only shows it.
// While the card is hidden, the host holds the keyboard focus the card had, and hands it back to
// the same control when the card shows again.
class CardFlip : public QObject
{
    Q_OBJECT

public:
    // `host` holds every card that flips; it, `scheduler` and `clock` must outlive the flip.
    CardFlip(QWidget &host, dispatch::Scheduler &scheduler, const Clock &clock, QObject *parent = nullptr);
    ~CardFlip() override;

    bool isFlipping() const { return m_phase != Phase::Idle; }
    // Takes the picture of `card` as it is; false, and nothing done, while a flip runs.
    bool flipFirstHalf(QWidget &card);
    // Forgets the picture of a first half whose step will not come; nothing while the flip plays.
    void cancelFirstHalf();
    enum class Direction { Forward, Reverse };

    // Plays the flip onto `card` as it is now, the card turning the other way round in Reverse;
    // nothing unless the first half was taken. The card's picture is taken in the flip's first
    // frames, so the card must stay as it is until the flip ends.
    void flipSecondHalf(QWidget &card, Direction direction = Direction::Forward);

    // The pictures of the card before and after, and where it stood in the host.
    struct Pictures
    {
        QImage top;
        QRect topRect;
        QImage bottom;
        QRect bottomRect;
    };

    // Paints the flip at `progress` (0 to 1) in the host's coordinates.
    void paintFrame(QPainter &painter, double progress);
    double progress() const;

signals:
    // The flip has ended and the card shows again.
    void finished();

private:
    enum class Phase { Idle, Captured, Playing };
    class Overlay;

    // A frame painted on another thread: `image` covers `area` of the host at `progress`.
    struct PaintedFrame
    {
        double progress = 0;
        QRect area;
        QImage image;
    };
    class FrameSlot;

    double progressAt(Clock::Duration moment) const;
    // The part of the host the pictures cover at `progress`.
    QRect areaAt(double progress) const;
    // Paints the frame at `progress` on another thread, for a later frame's turn to show.
    void paintAhead(double progress);
    bool isBottomPictureWhole() const;
    // Paints the next strip of the picture of the card the flip turns to.
    void paintBottomPictureStrip();
    void showFrame();
    void finish();
    void holdFocusOf(QWidget &card);
    void giveFocusBack();

    QWidget &m_host;
    dispatch::Scheduler &m_scheduler;
    const Clock &m_clock;
    Phase m_phase = Phase::Idle;
    Direction m_direction = Direction::Forward;
    Pictures m_pictures;
    int m_bottomStripsPainted = 0;
    QPointer<QWidget> m_card;
    // The control in the card that had the keyboard focus when it was hidden.
    QPointer<QWidget> m_focusInCard;
    Clock::Duration m_startedAt{};
    // The progress the overlay paints, and its frame when it was painted ahead.
    double m_shownProgress = 0;
    std::optional<PaintedFrame> m_shownFrame;
    // Where the frame painted ahead is left; a new one for each flip.
    std::shared_ptr<FrameSlot> m_nextFrame;
    bool m_isPaintingAhead = false;
    dispatch::DelayedBlock m_frames;
    // Holds background work that can wait back from the first half to the end.
    std::optional<dispatch::ForegroundAnimation> m_animation;
    QPointer<QWidget> m_overlay;
};

} // namespace lexi
