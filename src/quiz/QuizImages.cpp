#include "QuizImages.h"

#include "views/SvgImage.h"

using namespace Qt::StringLiterals;

namespace lexi {

QPixmap quizImage(const QString &name, QSize size)
{
    return svgPixmap(u":/images/quiz/"_s + name + u".svg"_s, size);
}

void showQuizImage(QLabel &label, const QString &name, QSize size)
{
    label.setPixmap(quizImage(name, size));
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
