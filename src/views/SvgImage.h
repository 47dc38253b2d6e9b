#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace lexi {

// The SVG image at `path` (a resource path such as ":/images/quiz/native.svg") drawn at `size`
// device-independent pixels, sharp on the screen it is shown on: the pixmap holds the screen's
// device pixels. A missing image gives a transparent pixmap.
QPixmap svgPixmap(const QString &path, QSize size);
QIcon svgIcon(const QString &path, QSize size);

} // namespace lexi
