#pragma once

#include "platform/ports/Workspace.h"

#include <QStringList>

namespace lexi::test {

// Records the folders that would be shown in the file browser.
class RecordingWorkspace final : public Workspace
{
public:
    void openFolder(const QString &path) override { openedFolders.append(path); }

    QStringList openedFolders;
};

} // namespace lexi::test
