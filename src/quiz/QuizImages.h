#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace lexi {

// The quiz's images, drawn from ":/images/quiz/<name>.svg" at `size` device-independent pixels.
QPixmap quizImage(const QString &name, QSize size);
// Shows the image in `label` and remembers its name in the label's "imageName" property.
void showQuizImage(QLabel &label, const QString &name, QSize size = QSize(32, 32));
// The image of a memory level: 0 "unknown", 1 "ultra_short_term", 2 "short_term", 3 "interim",
// 4 "long_term", any other "native".
QString levelImageName(quint64 level);

} // namespace lexi
