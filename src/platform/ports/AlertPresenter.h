#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace lexi {

// A modal alert: a title, a message and one to three buttons, the first being the default. Every
// alert names the button that cancels it: Escape, closing the alert and quitting the program
// answer with that one, so a destructive button is never chosen without a click. An alert warns,
// unless it only tells of something done.
struct Alert
{
    enum class Style { Warning, Informational };

    Alert(QString title, QString message, QStringList buttons, int cancelButton, Style style = Style::Warning)
        : title(std::move(title)), message(std::move(message)), buttons(std::move(buttons)), cancelButton(cancelButton),
          style(style)
    {
    }

    QString title;
    QString message;
    QStringList buttons;
    int cancelButton;
    Style style;

    friend bool operator==(const Alert &, const Alert &) = default;
};

// Shows alerts to the learner. The program shows Qt dialogs; tests record what would be shown.
class AlertPresenter
{
public:
    virtual ~AlertPresenter() = default;

    // Shows `alert` and waits for the learner; returns the index of the chosen button (0 is the
    // first), the alert's cancel button when it ended without a choice. Called off the main
    // thread, nothing is shown: the alert is logged and answered with its cancel button.
    virtual int runModal(const Alert &alert) = 0;

    // Shows `alert` as a sheet of the main window, modal to that window only, and returns at once:
    // `answered` runs later on the main thread with the chosen button's index, or the cancel
    // button's when the alert ended without a choice. `receiver` is the object the answer is for
    // (never none): when it is gone by then, nothing runs. Main thread only.
    virtual void open(const Alert &alert, QObject *receiver, std::function<void(int button)> answered) = 0;
};

} // namespace lexi
