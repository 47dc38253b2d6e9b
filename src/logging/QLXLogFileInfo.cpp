#include "QLXLogFileInfo.h"

#include "LogFileName.h"

#include "platform/files/FileDescriptors.h"
#include "platform/ports/Console.h"
#include "platform/values/NoDestructor.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace Qt::StringLiterals;

namespace {

constexpr char archivedAttribute[] = "user.lumberjack.log.archived";

// The archived marks of files that take no user attributes, for the rest of the process.
struct MemoryMarks
{
    std::mutex mutex;
    QSet<QString> paths;
    bool noted = false;
};

MemoryMarks &memoryMarks()
{
    static lexi::NoDestructor<MemoryMarks> marks;
    return marks.get();
}

// ENOTSUP: the file system keeps no user attributes; EPERM: the file may not carry them (no
// regular file, or an immutable one).
bool takesNoUserAttributes(int error)
{
    return error == ENOTSUP || error == EPERM;
}

void keepInMemory(const QString &path, bool archived)
{
    auto &marks = memoryMarks();
    std::lock_guard lock(marks.mutex);
    if (!archived) {
        marks.paths.remove(path);
        return;
    }
    marks.paths.insert(path);
    if (!std::exchange(marks.noted, true)) {
        lexi::Console::writeLine(
            u"QLXLogFileInfo: %1 takes no extended attributes; archived log files are remembered until the program ends"_s
                .arg(path));
    }
}

bool isKeptInMemory(const QString &path)
{
    auto &marks = memoryMarks();
    std::lock_guard lock(marks.mutex);
    return marks.paths.contains(path);
}

} // namespace

QLXLogFileInfo::QLXLogFileInfo(QString filePath) : m_filePath(std::move(filePath)) {}

QString QLXLogFileInfo::fileName() const
{
    return m_filePath.mid(m_filePath.lastIndexOf(u'/') + 1);
}

const QLXLogFileInfo::Attributes &QLXLogFileInfo::attributes() const
{
    if (m_attributes)
        return *m_attributes;
    Attributes read;
    struct statx status = {};
    const QByteArray path = QFile::encodeName(m_filePath);
    if (::statx(AT_FDCWD, path.constData(), AT_STATX_SYNC_AS_STAT, STATX_SIZE | STATX_BTIME, &status) == 0) {
        if (status.stx_mask & STATX_SIZE)
            read.size = status.stx_size;
        if (status.stx_mask & STATX_BTIME) {
            read.creationDate = lexi::Date::fromSecondsSince1970(double(status.stx_btime.tv_sec) +
                                                                 double(status.stx_btime.tv_nsec) / 1e9);
        }
    }
    if (!read.creationDate) {
        if (const auto name = lexi::LogFileName::parse(fileName()))
            read.creationDate = name->minute;
    }
    return m_attributes.emplace(read);
}

std::optional<lexi::Date> QLXLogFileInfo::creationDate() const
{
    return attributes().creationDate;
}

quint64 QLXLogFileInfo::fileSize() const
{
    return attributes().size;
}

double QLXLogFileInfo::age(const lexi::Clock &clock) const
{
    const auto created = creationDate();
    return created ? clock.now().secondsSince(*created) : 0.0;
}

bool QLXLogFileInfo::isArchived() const
{
    const QByteArray path = QFile::encodeName(m_filePath);
    return ::getxattr(path.constData(), archivedAttribute, nullptr, 0) >= 0 || isKeptInMemory(m_filePath);
}

void QLXLogFileInfo::setIsArchived(bool archived)
{
    const QByteArray path = QFile::encodeName(m_filePath);
    if (archived) {
        markArchived(::setxattr(path.constData(), archivedAttribute, "", 0, 0));
        return;
    }
    keepInMemory(m_filePath, false);
    if (::removexattr(path.constData(), archivedAttribute) == 0 || errno == ENODATA || takesNoUserAttributes(errno))
        return;
    lexi::Console::writeLine(u"QLXLogFileInfo: removexattr(%1, %2): error = %3"_s.arg(
        QString::fromUtf8(archivedAttribute), fileName(), lexi::systemErrorText(errno)));
}

void QLXLogFileInfo::archiveOpenFile(int fileDescriptor)
{
    markArchived(::fsetxattr(fileDescriptor, archivedAttribute, "", 0, 0));
}

void QLXLogFileInfo::markArchived(int result) const
{
    if (result == 0)
        return;
    const int error = errno;
    if (takesNoUserAttributes(error)) {
        keepInMemory(m_filePath, true);
        return;
    }
    lexi::Console::writeLine(u"QLXLogFileInfo: setxattr(%1, %2): error = %3"_s.arg(
        QString::fromUtf8(archivedAttribute), fileName(), lexi::systemErrorText(error)));
}

void QLXLogFileInfo::reset()
{
    m_attributes.reset();
}

void QLXLogFileInfo::renameFile(const QString &newFileName)
{
    if (newFileName == fileName())
        return;
    const QString target = m_filePath.left(m_filePath.lastIndexOf(u'/') + 1) + newFileName;
    // rename() replaces a file at the target in one step, so neither file is lost on failure.
    if (::rename(QFile::encodeName(m_filePath).constData(), QFile::encodeName(target).constData()) != 0) {
        lexi::Console::writeLine(
            u"QLXLogFileInfo: Error renaming file (%1): %2"_s.arg(fileName(), lexi::systemErrorText(errno)));
        return;
    }
    if (isKeptInMemory(m_filePath)) {
        keepInMemory(m_filePath, false);
        keepInMemory(target, true);
    }
    m_filePath = target;
    reset();
}

bool QLXLogFileInfo::reverseCompareByCreationDate(const QLXLogFileInfo &a, const QLXLogFileInfo &b)
{
    const auto createdA = a.creationDate();
    const auto createdB = b.creationDate();
    if (createdA != createdB)
        return createdA > createdB;
    const auto nameOrder = [](const QLXLogFileInfo &info) -> std::optional<std::pair<lexi::Date, unsigned>> {
        if (const auto name = lexi::LogFileName::parse(info.fileName()))
            return std::pair(name->minute, name->counter);
        return std::nullopt;
    };
    const auto orderA = nameOrder(a);
    const auto orderB = nameOrder(b);
    if (orderA != orderB)
        return orderA > orderB;
    return a.m_filePath > b.m_filePath;
}
