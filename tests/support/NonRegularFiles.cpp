#include "NonRegularFiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace lexi::test {

NonRegularFiles::NonRegularFiles(const QString &folder, const QString &extension)
{
    const QDir directory(folder);
    m_fifo = directory.filePath(u"fifo."_s + extension);
    const QString zero = directory.filePath(u"zero."_s + extension);
    const QString subfolder = directory.filePath(u"folder."_s + extension);
    EXPECT_EQ(::mkfifo(QFile::encodeName(m_fifo).constData(), 0600), 0);
    EXPECT_TRUE(QFile::link(u"/dev/zero"_s, zero));
    EXPECT_TRUE(directory.mkdir(subfolder));
    m_entries = {{"a FIFO", m_fifo}, {"a link to /dev/zero", zero}, {"a folder", subfolder}};
}

bool NonRegularFiles::endsWithoutWriter(const std::function<void()> &load) const
{
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool writerNeeded = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        while (!ended.wait_for(lock, std::chrono::seconds(10), [&] { return done; })) {
            // Succeeds only while a reader has the FIFO open, or waits to.
            const int writer = ::open(QFile::encodeName(m_fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) {
                writerNeeded = true;
                ::close(writer);
            }
        }
    });
    std::exception_ptr failure;
    try {
        load();
    } catch (...) {
        failure = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex);
        done = true;
        ended.notify_all();
    }
    watchdog.join();
    if (failure)
        std::rethrow_exception(failure);
    return !writerNeeded;
}

} // namespace lexi::test
