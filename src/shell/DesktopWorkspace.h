#pragma once

#include "platform/ports/Workspace.h"

namespace lexi {

// The desktop's file browser, web browser and software centre, through the desktop services.
class DesktopWorkspace final : public Workspace
{
public:
    void openFolder(const QString &path) override;
    void openWebAddress(const QUrl &address) override;
    bool openStorePage(const QUrl &address) override;
};

} // namespace lexi
