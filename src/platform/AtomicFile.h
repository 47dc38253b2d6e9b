#pragma once

#include <QByteArray>
#include <QString>

namespace lexi {

// Writes `contents` to a temporary file in the folder of `path`, flushes it to disk and renames it
// into place, so that the file at `path` is at every moment either the old one or the new one,
// also when the program is killed in the middle. Returns false, leaving the old file as it was,
// when any step fails, and then puts the reason in `errorString` when one is given.
bool writeFileAtomically(const QString &path, const QByteArray &contents, QString *errorString = nullptr);

} // namespace lexi
