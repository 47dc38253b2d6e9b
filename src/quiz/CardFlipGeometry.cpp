#include "CardFlipGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lexi {

namespace {

// One coordinate of the cubic Bezier curve from 0 to 1 with inner control values c1 and c2.
double bezier(double t, double c1, double c2)
{
    const double u = 1 - t;
    return 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t;
}

} // namespace

double CardFlipGeometry::easeInEaseOut(double progress)
{
    if (!(progress > 0))
        return 0;
    if (progress >= 1)
        return 1;
    const double x = progress;
    // The curve's x grows monotonically with its parameter: find the parameter by bisection.
    double low = 0, high = 1;
    for (int step = 0; step < 40; ++step) {
        const double middle = (low + high) / 2;
        (bezier(middle, 0.42, 0.58) < x ? low : high) = middle;
    }
    return bezier((low + high) / 2, 0.0, 1.0);
}

CardFlipFrame CardFlipGeometry::frame(double progress, bool beginningOnTop, double scaleFactor)
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
    // projected from the viewer's distance: x cos / w and y / w with w = 1 + x sin / distance.
    frame.transform = QTransform(frame.scale * cosine, 0, frame.scale * sine / perspectiveDistance, //
                                 0, frame.scale, 0,                                                 //
                                 0, 0, 1);
    return frame;
}

} // namespace lexi
