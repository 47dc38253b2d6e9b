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
        const auto role = i == 0 ? QMessageBox::AcceptRole : i == 1 ? QMessageBox::RejectRole : QMessageBox::ActionRole;
        buttons.append(box->addButton(alert.buttons.at(i), role));
    }
    if (!buttons.isEmpty()) {
        box->setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
        box->setEscapeButton(buttons.size() > 1 ? buttons.at(1) : buttons.first());
    }
    QObject::connect(box, &QMessageBox::buttonClicked, box, [buttons, finished](QAbstractButton *clicked) {
        finished(int(buttons.indexOf(clicked)));
    });
    box->open();
}

} // namespace lexi
