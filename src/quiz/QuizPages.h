#pragma once

#include <QStackedWidget>

namespace lexi {

// The pages of the quiz tab, by fixed number: each quiz controller puts its pages in their places
// and the pages switch among themselves. The card flip is drawn on top of them.
class QuizPages : public QStackedWidget
{
    Q_OBJECT

public:
    enum Page { TypingQuiz = 0, Setup = 1, TypingResults = 2, PopupQuiz = 3, FlashCards = 4 };

    // Five empty pages.
    explicit QuizPages(QWidget *parent = nullptr);

    // Puts `widget` in the place of `page` and takes it over; the page it replaces is deleted.
    void setPage(Page page, QWidget *widget);
    QWidget *page(Page page) const { return widget(page); }
    void showPage(Page page) { setCurrentIndex(page); }
    Page currentPage() const { return Page(currentIndex()); }
};

} // namespace lexi
