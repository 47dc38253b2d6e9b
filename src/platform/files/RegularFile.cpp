#include "RegularFile.h"

#include "FileDescriptors.h"

#include <QFileInfo>

#include <algorithm>
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

std::optional<QByteArray> readWithin(QIODevice &device, qint64 limit)
{
    // Read in steps, so that a file claiming to be empty takes no more than it gives.
    constexpr qint64 step = qint64(1) << 16;
    QByteArray data;
    data.reserve(qsizetype(std::min(std::max<qint64>(device.size(), 0), limit) + 1));
    qint64 length = 0;
    while (length <= limit) {
        const qint64 wanted = std::min(step, limit + 1 - length);
        data.resize(qsizetype(length + wanted));
        const qint64 read = device.read(data.data() + length, wanted);
        if (read <= 0)
            break;
        length += read;
    }
    if (length > limit)
        return std::nullopt;
    data.resize(qsizetype(length));
    return data;
}

Result<QByteArray> readRegularFile(const QString &path, qint64 limit)
{
    const auto file = openRegularFile(path);
    if (!file)
        return Result<QByteArray>::failure(u"%1: %2"_s.arg(path, file.error()));
    std::optional<QByteArray> data = readWithin(**file, limit);
    if ((*file)->error() != QFileDevice::NoError)
        return Result<QByteArray>::failure((*file)->errorString());
    if (!data)
        return Result<QByteArray>::failure(u"%1: larger than %2 bytes"_s.arg(path).arg(limit));
    return std::move(*data);
}

bool isSameFile(const QString &path, const QString &otherPath)
{
    const QFileInfo file(path);
    const QFileInfo other(otherPath);
    return file.exists() && other.exists() && file.canonicalFilePath() == other.canonicalFilePath();
}

} // namespace lexi
