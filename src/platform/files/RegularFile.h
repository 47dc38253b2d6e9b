#pragma once

#include "platform/values/Result.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

namespace lexi {

// Opens the file at `path` for reading, but only a regular file (links are followed). A FIFO, a
// device (a link to /dev/zero too), a socket or a folder is refused at once: the open never waits
// for a writer, and the kind of file is checked before a byte is read.
// The open file, or why it could not be opened ("not a regular file" or the system's reason).
Result<std::unique_ptr<QFile>> openRegularFile(const QString &path);

// Whether both paths lead to one existing file or folder, links followed.
bool isSameFile(const QString &path, const QString &otherPath);

// The whole of `device` when it holds at most `limit` bytes; nothing when it holds more. At most
// `limit` + 1 bytes are read, whatever size() says: a file of /proc says 0 and may go on without
// end (/proc/self/pagemap holds terabytes). A read error ends the text early; the device tells.
std::optional<QByteArray> readWithin(QIODevice &device, qint64 limit);

// Beyond any file this program reads whole: the largest vocabulary file holds some 130 MiB.
inline constexpr qint64 largestWholeFile = qint64(256) << 20;

// The whole of the regular file at `path`, opened as openRegularFile() does and read as
// readWithin() does; or why it could not be read ("<path>: <reason>" when it could not be opened).
Result<QByteArray> readRegularFile(const QString &path, qint64 limit = largestWholeFile);

} // namespace lexi
