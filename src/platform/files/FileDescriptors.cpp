#include "FileDescriptors.h"

#include <cerrno>
#include <system_error>

#include <unistd.h>

namespace lexi {

int writeAll(int fileDescriptor, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fileDescriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;
        data += written;
        size -= std::size_t(written);
    }
    return 0;
}

QString systemErrorText(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

} // namespace lexi
