#pragma once

#include <QObject>

class QLXQuizInterface;
class QWidget;

namespace lexi {

// One of the quiz modes (typing quiz, flash cards, pop-up quiz) as the set-up page sees it. The
// page fills the mode's quiz settings and words, starts it, and leaves it when the learner leaves
// the run or the tab; the mode tells when its run ended and when the learner asks for a new quiz.
class QuizMode : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The settings and words of the next run; the set-up page fills them before start().
    virtual QLXQuizInterface &quiz() = 0;
    // Starts a run with quiz().wordsToAsk() and shows the mode's page. Returns the view the set-up
    // page's card flip ends on (the mode's card), or none when the mode shows no card there.
    virtual QWidget *start() = 0;
    // From the start of a run until its results.
    virtual bool isRunInProgress() const = 0;
    // The learner left the run (or the tab): nothing more is asked or recorded, and every timer
    // of the run stops.
    virtual void leave() = 0;
    // The run goes on in a window of its own beside the main window (the pop-up quiz): leaving
    // the quiz tab or showing it again does not leave the run, which ends by itself.
    virtual bool isRunInOwnWindow() const { return false; }

signals:
    // The run ended: its results show.
    void runEnded();
    // The learner asked for a new quiz: back to the set-up page.
    void newQuizRequested();
};

} // namespace lexi
