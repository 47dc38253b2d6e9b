#pragma once

class QLayout;
class QWidget;

namespace lexi {

// Lays `page` out with `content` in its middle at its own size, the room left spread evenly
// around it, as the quiz pages hold their cards.
void placeInTheMiddle(QWidget &page, QWidget &content);
void placeInTheMiddle(QWidget &page, QLayout &content);

} // namespace lexi
