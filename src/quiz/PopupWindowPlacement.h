#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace lexi {

// Where the pop-up quiz window goes while the learner has not moved it: near the top-left corner.
inline constexpr QPointF defaultPopupWindowOrigin(20, 20);

// The top-left corner of the pop-up quiz window: `origin` (where the learner last left it) moved
// as little as needed for the window, `frameSize` with its frame, to lie wholly inside
// `available` (the screen without its panels). A window larger than the area keeps its top-left
// corner inside it.
QPoint popupWindowPosition(QPointF origin, QSize frameSize, const QRect &available);

} // namespace lexi
