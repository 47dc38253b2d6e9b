#include "RegularFile.h"

#include "FileDescriptors.h"

#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace lexi {

Result<std::unique_ptr<QFile>> openRegularFile(const QString &path)
{
    using Opened = Result<std::unique_ptr<QFile>>;
    // Without O_NONBLOCK, opening a FIFO waits until something opens it for writing.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return Opened::failure(systemErrorText(errno));
    struct stat status{};
    if (::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        return Opened::failure(systemErrorText(error));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return Opened::failure(u"not a regular file"_s);
    }
    // Reads of a regular file never wait; the flag goes so that the descriptor is an ordinary one.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>(path);
    if (!file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return Opened::failure(file->errorString());
    }
    return Opened(std::move(file));
}

Result<QByteArray> readRegularFile(const QString &path)
{
    const auto file = openRegularFile(path);
    if (!file)
        return Result<QByteArray>::failure(u"%1: %2"_s.arg(path, file.error()));
    QByteArray data = (*file)->readAll();
    if ((*file)->error() != QFileDevice::NoError)
        return Result<QByteArray>::failure((*file)->errorString());
    return data;
}

bool isSameFile(const QString &path, const QString &otherPath)
{
    const QFileInfo file(path);
    const QFileInfo other(otherPath);
    return file.exists() && other.exists() && file.canonicalFilePath() == other.canonicalFilePath();
}

} // namespace lexi
