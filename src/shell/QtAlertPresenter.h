#pragma once

#include "platform/ports/AlertPresenter.h"

#include <QList>

class QAbstractButton;
class QMessageBox;
class QWidget;

namespace lexi {

// Alerts as message boxes over the main window when there is one: runModal() modal to the whole
// application, open() as a sheet of the window.
class QtAlertPresenter final : public AlertPresenter
{
public:
    int runModal(const Alert &alert) override;
    void open(const Alert &alert, QObject *receiver, std::function<void(int button)> answered) override;

    // The window alerts are shown over; none before the main window exists.
    void setParentWindow(QWidget *window) { m_parentWindow = window; }

private:
    // Gives `box` the alert's texts and buttons, the first the default and the cancel button the
    // one Escape and closing press; returns the buttons in order.
    static QList<QAbstractButton *> prepare(QMessageBox &box, const Alert &alert);
    // The index of the button that ended `box`; the cancel button when none was clicked.
    static int chosenButton(const QMessageBox &box, const QList<QAbstractButton *> &buttons, const Alert &alert);

    QWidget *m_parentWindow = nullptr;
};

} // namespace lexi
