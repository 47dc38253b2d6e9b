#pragma once

#include "platform/ports/AlertPresenter.h"

class QWidget;

namespace lexi {

// Alerts as message boxes, modal to the whole application, over the main window when there is one.
class QtAlertPresenter final : public AlertPresenter
{
public:
    int runModal(const Alert &alert) override;

    // The window alerts are shown over; none before the main window exists.
    void setParentWindow(QWidget *window) { m_parentWindow = window; }

private:
    QWidget *m_parentWindow = nullptr;
};

} // namespace lexi
