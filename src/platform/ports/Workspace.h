#pragma once

#include <QString>

namespace lexi {

// The desktop around the program: the file browser. The program opens folders through the desktop
// services; tests record what would be opened.
class Workspace
{
public:
    virtual ~Workspace() = default;

    // Shows the folder at `path` in the file browser.
    virtual void openFolder(const QString &path) = 0;
};

} // namespace lexi
