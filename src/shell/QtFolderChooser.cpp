#include "QtFolderChooser.h"

#include <QFileDialog>

namespace lexi {

std::optional<QString> QtFolderChooser::chooseFolder(const QString &title, const std::optional<QString> &suggestion)
{
    const QString folder = QFileDialog::getExistingDirectory(m_parentWindow, title, suggestion.value_or(QString()));
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace lexi
