#pragma once

#include "platform/ports/Workspace.h"

#include <QStringList>

namespace lexi::test {

// Records the folders and addresses that would be shown.
class RecordingWorkspace final : public Workspace
{
public:
    void openFolder(const QString &path) override { openedFolders.append(path); }
    void openWebAddress(const QUrl &address) override { openedAddresses.append(address); }
    bool openStorePage(const QUrl &address) override
    {
        openedStorePages.append(address);
        return hasSoftwareCentre;
    }

    // Whether a program handles store pages.
    bool hasSoftwareCentre = true;

    QStringList openedFolders;
    QList<QUrl> openedAddresses;
    QList<QUrl> openedStorePages;
};

} // namespace lexi::test
