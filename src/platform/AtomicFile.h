#pragma once

#include <QByteArray>
#include <QString>

namespace lexi {

// Writes `contents` to a temporary file in the folder of `path`, flushes it to disk and renames it
// into place, so that the file at `path` is at every moment either the old one or the new one,
// also when the program is killed in the middle. Returns NO, leaving the old file as it was, when
// any step fails.
bool writeFileAtomically(const QString &path, const QByteArray &contents);

} // namespace lexi
