#include "AtomicFile.h"

#include <QSaveFile>

namespace lexi {

bool writeFileAtomically(const QString &path, const QByteArray &contents)
{
    QSaveFile file(path);
    // Unbuffered, so that a failed write shows in the count written: Qt 6.4's commit() renames a
    // file into place even when writing out its buffer failed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(contents) != contents.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace lexi
