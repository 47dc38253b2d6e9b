#pragma once

#include <QColor>
#include <QLabel>
#include <QSize>
#include <QWidget>

namespace lexi::typingQuiz {

// The size of the typing quiz's cards, and of the marks beside a typed and an expected answer.
inline constexpr QSize cardSize(720, 380);
inline constexpr QSize indicatorSize(22, 22);

// The card texts are set in Helvetica at `points`.
void setHelveticaSize(QWidget &widget, int points);
void setTextColor(QLabel &label, const QColor &color);

} // namespace lexi::typingQuiz
