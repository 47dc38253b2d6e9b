#include "QtAlertPresenter.h"

#include "logging/QLXLogMacros.h"
#include "platform/dispatch/Dispatch.h"

#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {
constexpr int qlxLogLevel = QLXLogLevelWarn;
} // namespace

int QtAlertPresenter::runModal(const Alert &alert)
{
    if (!dispatch::isMainThread()) {
        QLXLogError("Alerts > not on the main thread > %@: %@", alert.title, alert.message);
        return 0;
    }
    QMessageBox box(m_parentWindow);
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(alert.title);
    box.setText(alert.title);
    box.setInformativeText(alert.message);
    const QStringList buttons = alert.buttons.isEmpty() ? QStringList{u"OK"_s} : alert.buttons;
    QList<QAbstractButton *> added;
    for (qsizetype index = 0; index < buttons.size(); ++index) {
        QPushButton *button = box.addButton(buttons[index], index == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
        if (index == 0)
            box.setDefaultButton(button);
        added.append(button);
    }
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return chosen < 0 ? int(buttons.size()) - 1 : int(chosen);
}

} // namespace lexi
