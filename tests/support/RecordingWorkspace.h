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

    QStringList openedFolders;
    QList<QUrl> openedAddresses;
};

} // namespace lexi::test
