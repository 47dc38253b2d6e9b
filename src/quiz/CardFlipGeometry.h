#pragma once

#include <QRect>
#include <QTransform>

#include <chrono>

namespace lexi {

// Where one picture of a card stands at a moment of the card flip: a half turn about the card's
// vertical centre line, seen in perspective from 1500 points in front of it, the card growing
// towards the middle of the flip and back. The old face turns away (beginning on top, from 0 to
// -pi), the new face turns in (from pi to 0); only a face turned towards the viewer is drawn.
struct CardFlipFrame
{
    double rotation = 0; // radians about the vertical axis
    double scale = 1;
    // Maps a point of the picture, relative to the card's centre, onto the screen, relative to the
    // same centre.
    QTransform transform;
    bool isFacingViewer = true;
};

struct CardFlipGeometry
{
    static constexpr std::chrono::milliseconds duration{750};
    static constexpr double scaleFactor = 1.3;
    static constexpr double perspectiveDistance = 1500;

    // Ease-in-ease-out timing: slow at both ends, symmetric about the middle (a cubic Bezier curve
    // with control points 0.42, 0 and 0.58, 1). `progress` from 0 to 1 is clamped.
    static double easeInEaseOut(double progress);
    // The picture at `progress` (0 to 1 of the flip's duration) of the face beginning on top or
    // below. The zoom rises to `scaleFactor` in the first half and falls back in the second; a
    // factor of 1 flips without zoom. `isReversed` turns the perspective round (the viewer seen
    // from behind the card), so that the card seems to turn the other way.
    static CardFlipFrame frame(double progress, bool beginningOnTop, double scaleFactor = CardFlipGeometry::scaleFactor,
                               bool isReversed = false);
    // Maps the picture of a card standing at `rect`, drawn about its centre, onto the screen as
    // `frame` turns it.
    static QTransform pictureTransform(const CardFlipFrame &frame, const QRect &rect);
    // The picture drawn about its centre.
    static QRectF pictureBounds(const QRect &rect);
    // The part of the screen the picture covers in `frame`, its smoothed edges included; nothing
    // when it faces away.
    static QRect pictureArea(const CardFlipFrame &frame, const QRect &rect);
};

} // namespace lexi
