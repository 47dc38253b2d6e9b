#pragma once

#include "platform/ports/FileChooser.h"

#include <QPointer>

class QFileDialog;
class QWidget;

namespace lexi {

// Chooses files with the desktop's file dialog, shown as a sheet of the main window: modal to
// that window, open while the event loop goes on.
class QtFileChooser final : public FileChooser
{
public:
    void chooseFileToOpen(const FilePanel &panel, QObject *receiver, Answer answer) override;
    void chooseFileToSave(const FilePanel &panel, QObject *receiver, Answer answer) override;

    void setParentWindow(QWidget *window) { m_parentWindow = window; }

private:
    QFileDialog *makeDialog(const FilePanel &panel) const;
    // Shows the dialog and hands the path it ends with, made by `chosenPath`, to `answer`.
    static void show(QFileDialog *dialog, QObject *receiver, Answer answer,
                     std::function<QString(const QString &selected)> chosenPath);

    QPointer<QWidget> m_parentWindow;
};

} // namespace lexi
