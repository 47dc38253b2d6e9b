#pragma once

#include "platform/ports/FolderChooser.h"

class QWidget;

namespace lexi {

// Chooses a folder with the desktop's folder dialog, over the main window.
class QtFolderChooser final : public FolderChooser
{
public:
    std::optional<QString> chooseFolder(const QString &title, const std::optional<QString> &suggestion) override;

    void setParentWindow(QWidget *window) { m_parentWindow = window; }

private:
    QWidget *m_parentWindow = nullptr;
};

} // namespace lexi
