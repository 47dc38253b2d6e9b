#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <thread>

namespace lexi {

// Watches one open file, on a thread of its own, for the changes that come with its being
// deleted or renamed (inotify: attributes, which include the link count, and moves). The handler
// runs on the watch's thread after such a change; it decides for itself whether the file really
// left its path, since a change of attributes may mean something else.
class FileWatch
{
public:
    using Handler = std::function<void()>;

    // Watches the file open as `fileDescriptor` at `path`; nothing, with errno set, when the
    // kernel refuses.
    static std::unique_ptr<FileWatch> start(int fileDescriptor, const QString &path, Handler changed);
    // Stops the thread; the handler does not run after this returns.
    ~FileWatch();

    FileWatch(const FileWatch &) = delete;
    FileWatch &operator=(const FileWatch &) = delete;

private:
    FileWatch(int inotify, int stop, Handler changed);
    void run() const;

    const int m_inotify;
    const int m_stop;
    const Handler m_changed;
    std::thread m_thread;
};

} // namespace lexi
