#include "QuizImages.h"

#include "views/SvgImage.h"

#include <QPixmapCache>

using namespace Qt::StringLiterals;

namespace lexi {

QPixmap quizImage(const QString &name, QSize size)
{
    // Each answer shows several of these: each is drawn once at each size and then reused.
    const QString key = u"lexicarta-quiz:%1:%2x%3"_s.arg(name).arg(size.width()).arg(size.height());
    QPixmap image;
    if (!QPixmapCache::find(key, &image)) {
        image = svgPixmap(u":/images/quiz/"_s + name + u".svg"_s, size);
        QPixmapCache::insert(key, image);
    }
    return image;
}

void showQuizImage(QLabel &label, const QString &name, QSize size)
{
    // The image shown already is not set again, so the label's layout is left alone.
    const QPixmap image = quizImage(name, size);
    if (label.pixmap().cacheKey() != image.cacheKey())
        label.setPixmap(image);
    label.setProperty("imageName", name);
}

QString levelImageName(quint64 level)
{
    switch (level) {
    case 0:
        return u"unknown"_s;
    case 1:
        return u"ultra_short_term"_s;
    case 2:
        return u"short_term"_s;
    case 3:
        return u"interim"_s;
    case 4:
        return u"long_term"_s;
    default:
        return u"native"_s;
    }
}

} // namespace lexi
