#include "QuizResultsCard.h"

#include "QuizTexts.h"
#include "TypingQuizLook.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lexi {

QuizResultsCard::QuizResultsCard(const QuizResultsView::Look &look, QWidget *parent) : QLXCardView(parent)
{
    setFixedSize(typingQuiz::cardSize);
    m_resultsView = new QuizResultsView(look, this);
    m_newQuizButton = new QPushButton(this);
    m_restartButton = new QPushButton(this);
    // Return on the focused button presses it, as in a dialog.
    m_newQuizButton->setAutoDefault(true);
    m_restartButton->setAutoDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restartButton);
    buttons->addWidget(m_newQuizButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 26, 26, 20);
    layout->addWidget(m_resultsView, 1);
    layout->addLayout(buttons);
}

void QuizResultsCard::localize(const QString &middleName)
{
    m_resultsView->localize(middleName);
    m_restartButton->setText(quizText(u"restartWithWrong"_s));
    m_newQuizButton->setText(quizText(u"newQuiz"_s));
}

} // namespace lexi
