#include "AtomicFile.h"

#include <QSaveFile>

namespace lexi {

bool writeFileAtomically(const QString &path, const QByteArray &contents, QString *errorString)
{
    QSaveFile file(path);
    // Unbuffered, so that a failed write shows in the count written: Qt 6.4's commit() renames a
    // file into place even when writing out its buffer failed.
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.write(contents) == contents.size();
    if (written && file.commit())
        return true;
    if (errorString)
        *errorString = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace lexi
