#pragma once

class QAbstractItemView;

namespace lexi {

// In a list with nothing selected, the first Up or Down selects the row the cursor stands on (the
// first row when there is none) instead of moving past it: Qt keeps its cursor on row 0 without
// selecting it, so the first Down would otherwise land on row 1. With a selection, or with a
// modifier held, the keys do what the view does anyway.
void selectCurrentRowOnFirstArrow(QAbstractItemView *view);

} // namespace lexi
