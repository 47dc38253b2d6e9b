#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

#include <algorithm>
#include <cmath>

namespace lexi::test {

// The contrast ratio of two colours as the accessibility guidelines define it (1 to 21); body
// text needs 4.5 against what it is drawn on.
inline double contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double channel) {
            return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        const QColor rgb = colour.toRgb();
        return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
    };
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

// `colour` as it shows painted over the opaque `background`, its transparency blended in.
inline QColor shownOver(const QColor &colour, const QColor &background)
{
    const QColor top = colour.toRgb();
    const QColor bottom = background.toRgb();
    const float alpha = top.alphaF();
    const auto channel = [alpha](float over, float under) { return over * alpha + under * (1 - alpha); };
    return QColor::fromRgbF(channel(top.redF(), bottom.redF()), channel(top.greenF(), bottom.greenF()),
                            channel(top.blueF(), bottom.blueF()));
}

// The shown, enabled label under `root` whose text stands out least from what it stands on, by the
// colours its palette paints with, and that ratio. Labels coloured by a style sheet are left out.
struct LeastReadableLabel
{
    QString text;
    double ratio = 21;
};

inline LeastReadableLabel leastReadableLabel(const QWidget &root)
{
    LeastReadableLabel least;
    for (const QLabel *label : root.findChildren<QLabel *>()) {
        if (!label->isVisibleTo(&root) || !label->isEnabled() || label->text().isEmpty()
            || !label->styleSheet().isEmpty())
            continue;
        const QPalette &palette = label->palette();
        const QColor background = palette.color(label->backgroundRole());
        const double ratio = contrastRatio(shownOver(palette.color(label->foregroundRole()), background), background);
        if (ratio < least.ratio)
            least = {label->text(), ratio};
    }
    return least;
}

} // namespace lexi::test
