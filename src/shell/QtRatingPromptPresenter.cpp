#include "QtRatingPromptPresenter.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace lexi {

using namespace Qt::StringLiterals;

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
    auto *box = new QMessageBox(m_mainWindow ? m_mainWindow() : nullptr);
    box->setIcon(QMessageBox::Information);
    box->setWindowTitle(alert.title);
    box->setTextFormat(Qt::RichText);
    box->setText(u"<b>%1</b>"_s.arg(alert.title.toHtmlEscaped()));
    box->setInformativeText(alert.message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    QList<QAbstractButton *> buttons;
    for (qsizetype i = 0; i < alert.buttons.size(); ++i) {
        const auto role = i == alert.cancelButton ? QMessageBox::RejectRole
                          : i == 0                ? QMessageBox::AcceptRole
                                                  : QMessageBox::ActionRole;
        buttons.append(box->addButton(alert.buttons.at(i), role));
    }
    if (!buttons.isEmpty()) {
        box->setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
        box->setEscapeButton(buttons.value(alert.cancelButton, buttons.first()));
    }
    // Also when the prompt closes without a click, as when the program quits under it.
    QObject::connect(box, &QDialog::finished, box, [box, buttons, finished, cancel = alert.cancelButton] {
        const qsizetype clicked = buttons.indexOf(box->clickedButton());
        finished(clicked < 0 ? cancel : int(clicked));
    });
    box->open();
}

} // namespace lexi
