#include "AtomicFile.h"

#include "FileDescriptors.h"
#include "FileMoveHook.h"

#include "platform/values/NoDestructor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

Result<> systemFailure()
{
    return Result<>::failure(systemErrorText(errno));
}

const QString temporaryPrefix = u"~syncthing~lexicarta-"_s;
const QString temporarySuffix = u".tmp"_s;
const QString olderTemporaryPrefix = u".~lexicarta."_s;

// A new file beside the target, with a name file-sync clients pass over (see
// isTemporaryFileName), short, so that a target whose name is as long as the file system allows
// can still be written. It is made as any new file is (the umask decides its
// permissions), or with the permissions of the file it replaces, and removed when it goes unless
// it was moved into place.
class TemporaryFile
{
public:
    explicit TemporaryFile(const QFileInfo &target)
    {
        for (int attempt = 0; attempt < 100 && m_descriptor < 0; ++attempt) {
            const QString name =
                u'/' + temporaryPrefix + QString::number(QRandomGenerator::global()->generate(), 36) + temporarySuffix;
            m_path = QFile::encodeName(target.absolutePath() + name);
            m_descriptor = ::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_descriptor < 0 && errno != EEXIST)
                break;
        }
        if (m_descriptor < 0) {
            m_status = systemFailure();
            m_path.clear();
            return;
        }
        struct stat replaced;
        if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &replaced) == 0)
            ::fchmod(m_descriptor, replaced.st_mode & 07777);
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        close();
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }

    // Success when the file was made, else why not.
    const Result<> &status() const { return m_status; }

    // Writes everything, flushes it to the disk and closes the file.
    Result<> write(const QByteArray &data)
    {
        if (const int error = writeAll(m_descriptor, data.constData(), std::size_t(data.size())))
            return Result<>::failure(systemErrorText(error));
        if (::fsync(m_descriptor) != 0 || close() != 0)
            return systemFailure();
        return {};
    }

    const QByteArray &path() const { return m_path; }
    // It is in place: nothing to remove.
    void keep() { m_path.clear(); }

private:
    int close()
    {
        const int result = m_descriptor >= 0 ? ::close(m_descriptor) : 0;
        m_descriptor = -1;
        return result;
    }

    QByteArray m_path;
    int m_descriptor = -1;
    Result<> m_status;
};

// Held by every move of a file that this process makes, from the check of what stands at the
// path to the rename, so that no other move of this process lands between the two: the
// background saver and the synchronisation replace the same vocabulary files from different
// threads. Only a stat and a rename run under it, never a write or a flush.
struct FileMoves
{
    std::mutex mutex;
    FileMoveHook hook;
};

FileMoves &fileMoves()
{
    static NoDestructor<FileMoves> moves;
    return moves.get();
}

// Runs with the moves' lock held, after any check of what stands at `checkedPath`, right before
// the rename.
void aboutToMove(const QString &checkedPath)
{
    if (const FileMoveHook &hook = fileMoves().hook)
        hook(checkedPath);
}

// Renames `from` to `to` when nothing stands at `to`, as errno tells otherwise.
int renameWithoutReplacing(const QByteArray &from, const QByteArray &to)
{
    int moved = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    // File systems without the no-replace rename (some network and FUSE mounts): a hard link
    // fails just as atomically when the name is taken.
    if (moved != 0 && errno == EINVAL) {
        moved = ::link(from.constData(), to.constData());
        if (moved == 0)
            ::unlink(from.constData());
    }
    return moved;
}

Result<> nameTakenOrSystemFailure()
{
    return errno == EEXIST ? Result<>::failure(u"A file of that name exists already."_s) : systemFailure();
}

const QString changedMeanwhile = u"The file was changed meanwhile."_s;

// Puts the finished temporary file in place as `expected` allows.
Result<> moveIntoPlace(const QByteArray &temporary, const QString &path, const WriteExpectation &expected)
{
    const QByteArray target = QFile::encodeName(path);
    const std::lock_guard lock(fileMoves().mutex);
    if (std::holds_alternative<NoFile>(expected)) {
        aboutToMove(path);
        return renameWithoutReplacing(temporary, target) == 0 ? Result<>() : nameTakenOrSystemFailure();
    }
    if (const auto *stamp = std::get_if<FileStamp>(&expected); stamp && fileStamp(path) != *stamp)
        return Result<>::failure(changedMeanwhile);
    aboutToMove(path);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return systemFailure();
    return {};
}

} // namespace

bool isTemporaryFileName(const QString &name)
{
    return (name.startsWith(temporaryPrefix) && name.endsWith(temporarySuffix)) || name.startsWith(olderTemporaryPrefix);
}

QStringList removeStaleTemporaryFiles(const QString &folder, Date olderThan)
{
    QStringList removed;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        if (isTemporaryFileName(entry.fileName()) && !entry.isSymLink()
            && Date::fromDateTime(entry.lastModified()) < olderThan && QFile::remove(entry.absoluteFilePath()))
            removed.append(entry.fileName());
    }
    return removed;
}

std::optional<FileStamp> fileStamp(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    FileStamp stamp;
    stamp.size = status.st_size;
    stamp.modifiedNanoseconds = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    stamp.inode = status.st_ino;
    return stamp;
}

Result<> moveFileIfUnchanged(const QString &path, const QString &destination, const FileStamp &expected)
{
    const std::lock_guard lock(fileMoves().mutex);
    if (fileStamp(path) != expected)
        return Result<>::failure(changedMeanwhile);
    aboutToMove(path);
    if (renameWithoutReplacing(QFile::encodeName(path), QFile::encodeName(destination)) != 0)
        return nameTakenOrSystemFailure();
    return {};
}

void setFileMoveHook(FileMoveHook hook)
{
    const std::lock_guard lock(fileMoves().mutex);
    fileMoves().hook = std::move(hook);
}

bool fileMoveCanStartNow()
{
    std::unique_lock lock(fileMoves().mutex, std::try_to_lock);
    return lock.owns_lock();
}

Result<> writeFileAtomically(const QString &path, const QByteArray &data, const WriteExpectation &expected)
{
    const QFileInfo target(path);
    TemporaryFile file(target);
    if (!file.status())
        return file.status();
    if (Result<> written = file.write(data); !written)
        return written;
    Result<> moved = moveIntoPlace(file.path(), target.absoluteFilePath(), expected);
    if (moved)
        file.keep();
    return moved;
}

} // namespace lexi
