#include "QtRatingPromptPresenter.h"

#include "QtAlertPresenter.h"

#include <QCoreApplication>
#include <QWidget>

namespace lexi {

QtRatingPromptPresenter::QtRatingPromptPresenter(std::function<QWidget *()> mainWindow)
    : m_mainWindow(std::move(mainWindow))
{
}

bool QtRatingPromptPresenter::hasMainWindow() const
{
    QWidget *window = m_mainWindow ? m_mainWindow() : nullptr;
    return window && window->isVisible();
}

void QtRatingPromptPresenter::showPrompt(const Alert &alert, std::function<void(int button)> finished)
{
    // The prompt asks a favour and warns of nothing: a sheet of the main window like every other alert.
    QWidget *window = m_mainWindow ? m_mainWindow() : nullptr;
    QtAlertPresenter sheets;
    sheets.setParentWindow(window);
    Alert prompt = alert;
    prompt.style = Alert::Style::Informational;
    sheets.open(prompt, window ? static_cast<QObject *>(window) : QCoreApplication::instance(), std::move(finished));
}

} // namespace lexi
