#include "QuizPages.h"

namespace lexi {

QuizPages::QuizPages(QWidget *parent) : QStackedWidget(parent)
{
    for (int page = TypingQuiz; page <= FlashCards; ++page)
        addWidget(new QWidget);
    setCurrentIndex(Setup);
}

void QuizPages::setPage(Page page, QWidget *widget)
{
    const int current = currentIndex();
    QWidget *replaced = this->widget(page);
    insertWidget(page, widget);
    removeWidget(replaced);
    delete replaced;
    setCurrentIndex(current);
}

} // namespace lexi
