#pragma once

#include "QuizResultsView.h"

#include "views/QLXCardView.h"

class QPushButton;

namespace lexi {

// The result card of the typing and flash-card pages: the figures of the run, and under them the
// buttons that ask the wrongly answered words again and that start a new quiz.
class QuizResultsCard : public QLXCardView
{
    Q_OBJECT

public:
    explicit QuizResultsCard(const QuizResultsView::Look &look, QWidget *parent = nullptr);

    // The figures' names (see QuizResultsView::localize) and the buttons' titles.
    void localize(const QString &middleName);

    QuizResultsView &resultsView() const { return *m_resultsView; }
    QPushButton &restartButton() const { return *m_restartButton; }
    QPushButton &newQuizButton() const { return *m_newQuizButton; }

private:
    QuizResultsView *m_resultsView = nullptr;
    QPushButton *m_restartButton = nullptr;
    QPushButton *m_newQuizButton = nullptr;
};

} // namespace lexi
