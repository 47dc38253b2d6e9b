#include "QtFileChooser.h"

#include <QFileDialog>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

// "*.csv *.txt": the dialog lists files of these extensions in any case.
QString nameFilter(const QStringList &extensions)
{
    QStringList patterns;
    for (const QString &extension : extensions)
        patterns.append(u"*."_s + extension);
    return patterns.join(u' ');
}

} // namespace

QFileDialog *QtFileChooser::makeDialog(const FilePanel &panel) const
{
    // A file dialog has no line of its own for the message: the title carries it.
    const QString title = panel.message.isEmpty() ? panel.title : u"%1 – %2"_s.arg(panel.title, panel.message);
    auto *dialog = new QFileDialog(m_parentWindow, title);
    dialog->setWindowModality(m_parentWindow ? Qt::WindowModal : Qt::ApplicationModal);
    if (!panel.extensions.isEmpty())
        dialog->setNameFilter(nameFilter(panel.extensions));
    if (!panel.prompt.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, panel.prompt);
    return dialog;
}

void QtFileChooser::chooseFileToOpen(const FilePanel &panel, QObject *receiver, Answer answer)
{
    QFileDialog *dialog = makeDialog(panel);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    show(dialog, receiver, std::move(answer), [](const QString &selected) { return selected; });
}

void QtFileChooser::chooseFileToSave(const FilePanel &panel, QObject *receiver, Answer answer)
{
    QFileDialog *dialog = makeDialog(panel);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (!panel.extensions.isEmpty())
        dialog->setDefaultSuffix(panel.extensions.first());
    dialog->selectFile(panel.suggestedName);
    show(dialog, receiver, std::move(answer), [extensions = panel.extensions](const QString &selected) {
        return withAllowedExtension(selected, extensions);
    });
}

void QtFileChooser::show(QFileDialog *dialog, QObject *receiver, Answer answer,
                         std::function<QString(const QString &selected)> chosenPath)
{
    QObject::connect(dialog, &QDialog::finished, receiver,
                     [dialog, answer = std::move(answer), chosenPath = std::move(chosenPath)](int result) {
                         const QStringList selected = dialog->selectedFiles();
                         if (result != QDialog::Accepted || selected.isEmpty())
                             answer(std::nullopt);
                         else
                             answer(chosenPath(selected.first()));
                     });
    QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    dialog->open();
}

} // namespace lexi
