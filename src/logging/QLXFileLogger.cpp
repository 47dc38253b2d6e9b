#include "QLXFileLogger.h"

#include "FileWatch.h"
#include "QLXLogFileFormatterDefault.h"
#include "QLXLogMessage.h"

#include "platform/dispatch/Dispatch.h"
#include "platform/dispatch/SerialQueue.h"
#include "platform/files/FileDescriptors.h"
#include "platform/ports/Console.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Write failures are reported up to this many times per process, then no more.
constexpr int reportedWriteFailures = 10;
std::atomic<int> writeFailures = 0;

// The longest a roll timer is armed for (the program's timers hold no more than 2^31 ms); a
// later due time is checked and armed again.
constexpr double longestTimerSeconds = 86400.0;

// Time left below this counts as due: the timers run in whole milliseconds.
constexpr double timerResolutionSeconds = 0.001;

void reportWriteFailure(const QString &failure)
{
    const int count = ++writeFailures;
    if (count > reportedWriteFailures)
        return;
    lexi::Console::writeLine(u"QLXFileLogger.logMessage: %1"_s.arg(failure));
    if (count == reportedWriteFailures)
        lexi::Console::writeLine(u"QLXFileLogger.logMessage: Too many exceptions -- will not log any more of them."_s);
}

// Opens an existing file for appending and locks it against other instances. Returns the
// descriptor, or -1 with `failure` saying why.
int openForAppending(const QString &path, QString &failure)
{
    // Non-blocking only while opening, so that a named pipe without a reader cannot hang us.
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        failure = u"open(%1): %2"_s.arg(path, lexi::systemErrorText(errno));
        return -1;
    }
    ::fcntl(file, F_SETFL, O_APPEND);
    // Only regular files are locked: a device is no log file of ours to keep others out of.
    struct stat status = {};
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) && ::flock(file, LOCK_EX | LOCK_NB) != 0 &&
        errno == EWOULDBLOCK) {
        ::close(file);
        failure = u"%1 is written by another instance"_s.arg(path);
        return -1;
    }
    return file;
}

} // namespace

QLXFileLogger::QLXFileLogger(std::shared_ptr<QLXLogFileManager> logFileManager, lexi::dispatch::Scheduler &scheduler,
                             const lexi::Clock &clock)
    : QLXAbstractLogger(u"cocoa.lumberjack.fileLogger"_s)
    , m_logFileManager(std::move(logFileManager))
    , m_scheduler(scheduler)
    , m_clock(clock)
{
    m_formatter = std::make_shared<QLXLogFileFormatterDefault>();
}

QLXFileLogger::~QLXFileLogger()
{
    m_currentLogFileVnode.reset();
    if (m_currentLogFileHandle >= 0) {
        ::fsync(m_currentLogFileHandle);
        ::close(m_currentLogFileHandle);
    }
}

template<typename Work>
lexi::dispatch::Block QLXFileLogger::weakly(Work work)
{
    return [weakSelf = weak_from_this(), work = std::move(work)] {
        if (auto self = weakSelf.lock())
            work(static_cast<QLXFileLogger &>(*self));
    };
}

quint64 QLXFileLogger::maximumFileSize()
{
    return readProperty(m_maximumFileSize);
}

void QLXFileLogger::setMaximumFileSize(quint64 size)
{
    changeProperty([this, size] {
        m_maximumFileSize = size;
        maybeRollLogFileDueToSize();
    });
}

double QLXFileLogger::rollingFrequency()
{
    return readProperty(m_rollingFrequency);
}

void QLXFileLogger::setRollingFrequency(double seconds)
{
    changeProperty([this, seconds] {
        m_rollingFrequency = seconds;
        maybeRollLogFileDueToAge();
    });
}

bool QLXFileLogger::doNotReuseLogFiles() const
{
    return m_doNotReuseLogFiles;
}

void QLXFileLogger::setDoNotReuseLogFiles(bool doNotReuse)
{
    m_doNotReuseLogFiles = doNotReuse;
}

void QLXFileLogger::rollLogFile(lexi::dispatch::Block completion)
{
    changeState([this, completion = std::move(completion)] {
        rollLogFileNow();
        if (completion)
            lexi::dispatch::mainAsync(completion);
    });
}

void QLXFileLogger::logMessage(const QLXLogMessage &message)
{
    std::optional<QString> text = message.logMsg();
    if (m_formatter)
        text = m_formatter->formatLogMessage(message);
    if (!text)
        return;
    QByteArray bytes = text->toUtf8();
    if (!bytes.endsWith('\n'))
        bytes.append('\n');

    QString failure;
    if (!openCurrentLogFile(failure)) {
        reportWriteFailure(failure);
        return;
    }
    if (const int error = lexi::writeAll(m_currentLogFileHandle, bytes.constData(), std::size_t(bytes.size()))) {
        reportWriteFailure(u"write(%1): %2"_s.arg(m_currentLogFileInfo->filePath(), lexi::systemErrorText(error)));
        return;
    }
    maybeRollLogFileDueToSize();
}

void QLXFileLogger::willRemoveLogger()
{
    rollLogFileNow();
}

bool QLXFileLogger::openCurrentLogFile(QString &failure)
{
    if (m_currentLogFileHandle >= 0)
        return true;
    auto infos = m_logFileManager->sortedLogFileInfos();
    if (!infos.empty() && !infos.front().isArchived()) {
        QLXLogFileInfo &newest = infos.front();
        if (isDue(newest)) {
            newest.setIsArchived(true);
            m_logFileManager->didArchiveLogFile(newest.filePath());
        } else if (!m_doNotReuseLogFiles && takeUp(newest, failure)) {
            return true;
        }
    }
    const auto created = m_logFileManager->createNewLogFile();
    if (!created) {
        failure = u"no new log file could be created"_s;
        return false;
    }
    return takeUp(QLXLogFileInfo(*created), failure);
}

bool QLXFileLogger::takeUp(QLXLogFileInfo info, QString &failure)
{
    const int file = openForAppending(info.filePath(), failure);
    if (file < 0)
        return false;
    m_currentLogFileInfo = std::move(info);
    m_currentLogFileHandle = file;
    ++m_generation;
    scheduleTimerToRollLogFileDueToAge();
    watchCurrentLogFile();
    return true;
}

bool QLXFileLogger::isDue(const QLXLogFileInfo &info) const
{
    return (m_maximumFileSize > 0 && info.fileSize() >= m_maximumFileSize) ||
           (m_rollingFrequency > 0 && info.age(m_clock) >= m_rollingFrequency);
}

void QLXFileLogger::watchCurrentLogFile()
{
    const std::weak_ptr<lexi::dispatch::SerialQueue> queue = loggerQueue();
    const auto check = weakly([generation = m_generation](QLXFileLogger &logger) {
        logger.currentLogFileMayBeGone(generation);
    });
    m_currentLogFileVnode = lexi::FileWatch::start(m_currentLogFileHandle, m_currentLogFileInfo->filePath(),
                                                   [queue, check] {
                                                       if (auto loggerQueue = queue.lock())
                                                           loggerQueue->async(check);
                                                   });
    if (!m_currentLogFileVnode) {
        lexi::Console::writeLine(u"QLXFileLogger: cannot watch %1 for deletion or renaming: %2"_s.arg(
            m_currentLogFileInfo->filePath(), lexi::systemErrorText(errno)));
    }
}

void QLXFileLogger::currentLogFileMayBeGone(quint64 generation)
{
    if (generation != m_generation || m_currentLogFileHandle < 0)
        return;
    struct stat opened = {};
    struct stat atPath = {};
    // Deleted, renamed or replaced by another file: the path no longer leads to the open file.
    const bool isStillThere = ::fstat(m_currentLogFileHandle, &opened) == 0 &&
                              ::stat(QFile::encodeName(m_currentLogFileInfo->filePath()).constData(), &atPath) == 0 &&
                              atPath.st_dev == opened.st_dev && atPath.st_ino == opened.st_ino;
    if (!isStillThere)
        rollLogFileNow();
}

void QLXFileLogger::rollLogFileNow()
{
    if (m_currentLogFileHandle < 0)
        return;
    m_currentLogFileVnode.reset();
    m_rollingTimer.cancel();
    ::fsync(m_currentLogFileHandle);
    // Through the descriptor, so that a file deleted or renamed meanwhile is marked all the same.
    m_currentLogFileInfo->archiveOpenFile(m_currentLogFileHandle);
    ::close(m_currentLogFileHandle);
    m_currentLogFileHandle = -1;
    const QString path = m_currentLogFileInfo->filePath();
    m_currentLogFileInfo.reset();
    m_logFileManager->didRollAndArchiveLogFile(path);
}

void QLXFileLogger::maybeRollLogFileDueToSize()
{
    struct stat status = {};
    if (m_maximumFileSize > 0 && m_currentLogFileHandle >= 0 && ::fstat(m_currentLogFileHandle, &status) == 0 &&
        quint64(status.st_size) >= m_maximumFileSize)
        rollLogFileNow();
}

void QLXFileLogger::maybeRollLogFileDueToAge()
{
    if (m_rollingFrequency > 0 && m_currentLogFileInfo &&
        m_rollingFrequency - m_currentLogFileInfo->age(m_clock) < timerResolutionSeconds)
        rollLogFileNow();
    else
        scheduleTimerToRollLogFileDueToAge();
}

void QLXFileLogger::scheduleTimerToRollLogFileDueToAge()
{
    m_rollingTimer.cancel();
    if (!m_currentLogFileInfo || !(m_rollingFrequency > 0) || !m_currentLogFileInfo->creationDate())
        return;
    const double left = std::clamp(m_rollingFrequency - m_currentLogFileInfo->age(m_clock), 0.0, longestTimerSeconds);
    const auto delay = lexi::dispatch::Scheduler::Duration(qint64(std::ceil(left * 1000.0)));
    m_rollingTimer = loggerQueue()->after(m_scheduler, delay,
                                          weakly([](QLXFileLogger &logger) { logger.maybeRollLogFileDueToAge(); }));
}
