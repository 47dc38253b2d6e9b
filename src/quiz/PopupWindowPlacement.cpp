#include "PopupWindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace lexi {

QPoint popupWindowPosition(QPointF origin, QSize frameSize, const QRect &available)
{
    const auto place = [](double wanted, int start, int length, int extent) {
        const int last = std::max(start, start + length - extent);
        // Far out or not a number: the nearest edge.
        if (!(wanted >= start))
            return start;
        if (!(wanted <= last))
            return last;
        return int(std::lround(wanted));
    };
    return {place(origin.x(), available.left(), available.width(), frameSize.width()),
            place(origin.y(), available.top(), available.height(), frameSize.height())};
}

} // namespace lexi
