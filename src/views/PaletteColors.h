#pragma once

#include <QColor>
#include <QPalette>

namespace lexi {

// `from` moved `share` (0 to 1) of the way towards `to`, channel by channel.
QColor mixedColor(const QColor &from, const QColor &to, double share);

// The greys of lists and pages, made from the palette so that they keep their contrast on a
// light and on a dark desktop: the palette's `text` colour at `textShare` of its strength, the
// rest `background`. A half is the grey of a word not asked again (about 4:1 against the base),
// two thirds the dark grey of tags and secondary texts (about 8:1).
QColor textTowardsBackground(const QPalette &palette, double textShare, QPalette::ColorRole text = QPalette::Text,
                             QPalette::ColorRole background = QPalette::Base);

} // namespace lexi
