#include "QtAlertPresenter.h"

#include "logging/QLXLogMacros.h"
#include "platform/dispatch/Dispatch.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTextDocument>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {
constexpr int qlxLogLevel = QLXLogLevelWarn;
} // namespace

QList<QAbstractButton *> QtAlertPresenter::prepare(QMessageBox &box, const Alert &alert)
{
    box.setIcon(alert.style == Alert::Style::Informational ? QMessageBox::Information : QMessageBox::Warning);
    box.setWindowTitle(alert.title);
    // Alerts name vocabularies and files: their texts are shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(alert.title);
    box.setInformativeText(Qt::convertFromPlainText(alert.message, Qt::WhiteSpaceNormal));
    const QStringList buttons = alert.buttons.isEmpty() ? QStringList{u"OK"_s} : alert.buttons;
    const int cancelButton = std::clamp(alert.cancelButton, 0, int(buttons.size()) - 1);
    QList<QAbstractButton *> added;
    for (qsizetype index = 0; index < buttons.size(); ++index) {
        QPushButton *button =
            box.addButton(buttons[index], index == cancelButton ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        if (index == 0)
            box.setDefaultButton(button);
        added.append(button);
    }
    box.setEscapeButton(added[cancelButton]);
    return added;
}

int QtAlertPresenter::chosenButton(const QMessageBox &box, const QList<QAbstractButton *> &buttons, const Alert &alert)
{
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return chosen < 0 ? std::clamp(alert.cancelButton, 0, int(buttons.size()) - 1) : int(chosen);
}

int QtAlertPresenter::runModal(const Alert &alert)
{
    if (!dispatch::isMainThread()) {
        QLXLogError("Alerts > not on the main thread > %@: %@", alert.title, alert.message);
        return alert.cancelButton;
    }
    QMessageBox box(m_parentWindow);
    box.setWindowModality(Qt::ApplicationModal);
    const QList<QAbstractButton *> buttons = prepare(box, alert);
    box.exec();
    // Nothing was clicked when the program quit while the alert showed.
    return chosenButton(box, buttons, alert);
}

void QtAlertPresenter::open(const Alert &alert, QObject *receiver, std::function<void(int button)> answered)
{
    auto *box = new QMessageBox(m_parentWindow);
    box->setWindowModality(m_parentWindow ? Qt::WindowModal : Qt::ApplicationModal);
    const QList<QAbstractButton *> buttons = prepare(*box, alert);
    QObject::connect(box, &QDialog::finished, receiver,
                     [box, buttons, alert, answered = std::move(answered)] {
                         answered(chosenButton(*box, buttons, alert));
                     });
    QObject::connect(box, &QDialog::finished, box, &QObject::deleteLater);
    box->open();
}

} // namespace lexi
