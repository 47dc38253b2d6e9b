#include "FileChooser.h"

#include <QFileInfo>

namespace lexi {

QString withAllowedExtension(const QString &path, const QStringList &extensions)
{
    if (extensions.isEmpty() || extensions.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive))
        return path;
    return path + u'.' + extensions.first();
}

} // namespace lexi
