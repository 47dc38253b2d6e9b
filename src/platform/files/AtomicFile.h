#pragma once

#include "platform/values/Date.h"
#include "platform/values/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace lexi {

// What stands at a path at one moment: enough to tell that the file was changed or replaced
// since.
struct FileStamp
{
    qint64 size = 0;
    qint64 modifiedNanoseconds = 0;
    quint64 inode = 0;

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

// The stamp of the regular file at `path`; nothing when there is none (no file, a folder, a
// dangling link).
std::optional<FileStamp> fileStamp(const QString &path);

// What must stand at the target for a write to go ahead.
struct AnyFile
{
};
struct NoFile
{
};
// A file with that stamp; FileStamp itself names this case.
using WriteExpectation = std::variant<AnyFile, NoFile, FileStamp>;

// Writes `data` to `path` in one step. The data goes to a temporary file beside the target (see
// isTemporaryFileName), is flushed to disk and then renamed onto the target, so the path always holds either
// the old or the new content, also when the program is killed in the middle. With NoFile the
// write fails when something stands at the path (checked by the rename itself); with a stamp,
// when the file there no longer has it (checked just before the rename). A failed write leaves
// the target as it was. Within this process the check and the rename are one step: no other
// move made here (by this function or moveFileIfUnchanged) comes between them.
Result<> writeFileAtomically(const QString &path, const QByteArray &data, const WriteExpectation &expected = AnyFile());

// Moves the file at `path` to `destination`, where nothing may stand yet, when it still has the
// stamp `expected`; else leaves both as they are. The check and the move are one step for the
// moves of this process, as in writeFileAtomically.
Result<> moveFileIfUnchanged(const QString &path, const QString &destination, const FileStamp &expected);

// Whether `name` is that of a temporary file writeFileAtomically() makes: "~syncthing~lexicarta-"
// + a random part + ".tmp", a name that file-sync clients pass over, so that a half-written file
// never travels to another machine: Syncthing skips names beginning with "~syncthing~" as its
// own temporary files, and the cloud service and Nextcloud/ownCloud skip names that begin with
// "~" and end in ".tmp". The hidden names older versions used (".~lexicarta." + a random part)
// count as well.
bool isTemporaryFileName(const QString &name);

// Removes the temporary files of ours directly in `folder` that were last changed before
// `olderThan`: those a process left when it was killed while writing. Returns the names removed.
QStringList removeStaleTemporaryFiles(const QString &folder, Date olderThan);

} // namespace lexi
