#pragma once

#include <QString>
#include <QUrl>

namespace lexi {

// The desktop around the program: the file browser, the web browser and the software centre. The
// program opens folders and pages through the desktop services; tests record what would be opened.
class Workspace
{
public:
    virtual ~Workspace() = default;

    // Shows the folder at `path` in the file browser.
    virtual void openFolder(const QString &path) = 0;
    // Shows the page at `address` in the web browser; only http and https addresses are opened.
    virtual void openWebAddress(const QUrl &address) = 0;
    // Shows the program's page in the desktop's software centre (an appstream: address); whether
    // a program on this desktop took it.
    virtual bool openStorePage(const QUrl &address) = 0;
};

} // namespace lexi
