#include "DesktopWorkspace.h"

#include <QDesktopServices>

using namespace Qt::StringLiterals;

namespace lexi {

void DesktopWorkspace::openFolder(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopWorkspace::openWebAddress(const QUrl &address)
{
    if (address.scheme() == u"https"_s || address.scheme() == u"http"_s)
        QDesktopServices::openUrl(address);
}

bool DesktopWorkspace::openStorePage(const QUrl &address)
{
    return QDesktopServices::openUrl(address);
}

} // namespace lexi
