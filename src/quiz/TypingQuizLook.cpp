#include "TypingQuizLook.h"

#include <QFont>
#include <QPalette>

using namespace Qt::StringLiterals;

namespace lexi::typingQuiz {

void setHelveticaSize(QWidget &widget, int points)
{
    QFont font(u"Helvetica"_s);
    font.setPointSize(points);
    widget.setFont(font);
}

void setTextColor(QLabel &label, const QColor &color)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

} // namespace lexi::typingQuiz
