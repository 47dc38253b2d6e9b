#pragma once

#include <QString>
#include <QStringList>

namespace lexi {

// A modal alert: a title, a message and one to three buttons, the first being the default.
struct Alert
{
    QString title;
    QString message;
    QStringList buttons;

    friend bool operator==(const Alert &, const Alert &) = default;
};

// Shows alerts to the learner. The program shows Qt dialogs; tests record what would be shown.
class AlertPresenter
{
public:
    virtual ~AlertPresenter() = default;

    // Shows `alert` and waits for the learner; returns the index of the chosen button (0 is the
    // first). Called off the main thread, nothing is shown: the alert is logged and 0 returned.
    virtual int runModal(const Alert &alert) = 0;
};

} // namespace lexi
