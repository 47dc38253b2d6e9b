#pragma once

#include "platform/ports/Workspace.h"

#include <QStringList>

namespace lexi::test {

// Records the folders that would be shown in the file browser.
class RecordingWorkspace final : public Workspace
{
public:
    void openFolder(const QString &path) override { openedFolders.append(path); }
    bool openStorePage(const QUrl &address) override
    {
        openedStorePages.append(address);
        return true;
    }

    QStringList openedFolders;
    QList<QUrl> openedStorePages;
};

} // namespace lexi::test
