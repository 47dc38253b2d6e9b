#include "PaletteColors.h"

#include <algorithm>

namespace lexi {

QColor mixedColor(const QColor &from, const QColor &to, double share)
{
    share = std::clamp(share, 0.0, 1.0);
    const auto channel = [share](float a, float b) { return a + (b - a) * float(share); };
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()), channel(a.alphaF(), b.alphaF()));
}

QColor textTowardsBackground(const QPalette &palette, double textShare, QPalette::ColorRole text,
                             QPalette::ColorRole background)
{
    return mixedColor(palette.color(background), palette.color(text), textShare);
}

} // namespace lexi
