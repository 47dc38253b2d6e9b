#include "CardFlipGeometry.h"

#include <QEasingCurve>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lexi {

double CardFlipGeometry::easeInEaseOut(double progress)
{
    // Frames are painted on the main thread and ahead on others, and an easing curve is reentrant
    // only, not made for two threads at once: each thread eases with its own.
    thread_local const QEasingCurve curve = [] {
        QEasingCurve bezier(QEasingCurve::BezierSpline);
        bezier.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
        return bezier;
    }();
    if (!(progress > 0))
        return 0;
    return curve.valueForProgress(std::min(progress, 1.0));
}

CardFlipFrame CardFlipGeometry::frame(double progress, bool beginningOnTop, double scaleFactor, bool isReversed)
{
    const double eased = easeInEaseOut(progress);
    CardFlipFrame frame;
    frame.rotation = beginningOnTop ? -std::numbers::pi * eased : std::numbers::pi * (1 - eased);
    // The zoom runs over the first half of the flip and reverses over the second.
    frame.scale = 1 + (scaleFactor - 1) * (1 - std::abs(2 * eased - 1));
    const double cosine = std::cos(frame.rotation);
    const double sine = std::sin(frame.rotation);
    frame.isFacingViewer = cosine > 1e-9;
    // A point x, y of the face, scaled, turned about the vertical axis to depth -x sin and
    // projected from the viewer's distance: x cos / w and y / w with w = 1 + x sin / distance
    // (1 - x sin / distance reversed).
    const double perspective = (isReversed ? -1 : 1) / perspectiveDistance;
    frame.transform = QTransform(frame.scale * cosine, 0, frame.scale * sine * perspective, //
                                 0, frame.scale, 0,                                                 //
                                 0, 0, 1);
    return frame;
}

QTransform CardFlipGeometry::pictureTransform(const CardFlipFrame &frame, const QRect &rect)
{
    const QPointF centre = QRectF(rect).center();
    return frame.transform * QTransform::fromTranslate(centre.x(), centre.y());
}

QRectF CardFlipGeometry::pictureBounds(const QRect &rect)
{
    return QRectF(-rect.width() / 2.0, -rect.height() / 2.0, rect.width(), rect.height());
}

QRect CardFlipGeometry::pictureArea(const CardFlipFrame &frame, const QRect &rect)
{
    if (!frame.isFacingViewer)
        return {};
    return pictureTransform(frame, rect).mapRect(pictureBounds(rect)).toAlignedRect().adjusted(-2, -2, 2, 2);
}

} // namespace lexi
