#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

// Puts the finished temporary file in place as `expected` allows.
Result<> moveIntoPlace(const QByteArray &temporary, const QString &path, const WriteExpectation &expected)
{
    const QByteArray target = QFile::encodeName(path);
    if (std::holds_alternative<NoFile>(expected)) {
        if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0) {
            const int error = errno;
            return Result<>::failure(error == EEXIST ? u"A file of that name exists already."_s : qt_error_string(error));
        }
        return {};
    }
    if (const auto *stamp = std::get_if<FileStamp>(&expected); stamp && fileStamp(path) != *stamp)
        return Result<>::failure(u"The file was changed meanwhile."_s);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return Result<>::failure(qt_error_string(errno));
    return {};
}

} // namespace

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

Result<> writeFileAtomically(const QString &path, const QByteArray &data, const WriteExpectation &expected)
{
    const QFileInfo target(path);
    QTemporaryFile file(target.absolutePath() + u"/.~"_s + target.fileName() + u".XXXXXX"_s);
    if (!file.open())
        return Result<>::failure(file.errorString());
    if (file.write(data) != data.size() || !file.flush())
        return Result<>::failure(file.errorString());
    if (::fsync(file.handle()) != 0)
        return Result<>::failure(qt_error_string(errno));
    const QByteArray temporary = QFile::encodeName(file.fileName());
    file.close();
    Result<> moved = moveIntoPlace(temporary, target.absoluteFilePath(), expected);
    // Once moved, the temporary name is gone; otherwise the temporary file goes with `file`.
    file.setAutoRemove(!moved);
    return moved;
}

} // namespace lexi
