#include "FileWatch.h"

#include <QFile>

#include <cerrno>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace lexi {

namespace {

constexpr uint32_t watchedChanges = IN_ATTRIB | IN_MOVE_SELF | IN_DELETE_SELF;

} // namespace

std::unique_ptr<FileWatch> FileWatch::start(int fileDescriptor, const QString &path, Handler changed)
{
    const int inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify < 0)
        return nullptr;
    const int stop = ::eventfd(0, EFD_CLOEXEC);
    // The descriptor names the very file that is open, whatever happened at its path since;
    // without /proc the path has to do.
    const QByteArray openFile = "/proc/self/fd/" + QByteArray::number(fileDescriptor);
    if (stop >= 0 && (::inotify_add_watch(inotify, openFile.constData(), watchedChanges) >= 0 ||
                      ::inotify_add_watch(inotify, QFile::encodeName(path).constData(), watchedChanges) >= 0))
        return std::unique_ptr<FileWatch>(new FileWatch(inotify, stop, std::move(changed)));
    const int error = errno;
    ::close(inotify);
    if (stop >= 0)
        ::close(stop);
    errno = error;
    return nullptr;
}

FileWatch::FileWatch(int inotify, int stop, Handler changed)
    : m_inotify(inotify)
    , m_stop(stop)
    , m_changed(std::move(changed))
    , m_thread([this] { run(); })
{
}

FileWatch::~FileWatch()
{
    const uint64_t one = 1;
    while (::write(m_stop, &one, sizeof one) < 0 && errno == EINTR) {
    }
    m_thread.join();
    ::close(m_stop);
    ::close(m_inotify);
}

void FileWatch::run() const
{
    pollfd sources[2] = {{m_inotify, POLLIN, 0}, {m_stop, POLLIN, 0}};
    for (;;) {
        if (::poll(sources, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (sources[1].revents != 0 || !(sources[0].revents & POLLIN))
            return;
        // One call of the handler for everything that has come in.
        char events[4096];
        while (::read(m_inotify, events, sizeof events) > 0) {
        }
        m_changed();
    }
}

} // namespace lexi
