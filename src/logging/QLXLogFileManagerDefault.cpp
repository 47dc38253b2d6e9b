#include "QLXLogFileManagerDefault.h"

#include "LogFileName.h"
#include "QLXLog.h"

#include "platform/ports/Console.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

QLXLogFileManagerDefault::QLXLogFileManagerDefault() : QLXLogFileManagerDefault(defaultLogsDirectory()) {}

QLXLogFileManagerDefault::QLXLogFileManagerDefault(QString logsDirectory, const lexi::Clock &clock)
    : m_logsDirectory(std::move(logsDirectory))
    , m_clock(clock)
{
}

QString QLXLogFileManagerDefault::defaultLogsDirectory()
{
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(stateHome)) {
        const QString home = qEnvironmentVariable("HOME");
        stateHome = QDir::isAbsolutePath(home) ? home + u"/.local/state"_s : QDir::tempPath();
    }
    return QDir::cleanPath(stateHome + u'/' + applicationName() + u"/Logs"_s);
}

const QString &QLXLogFileManagerDefault::applicationName()
{
    static const QString name = [] {
        const QString application = QCoreApplication::applicationName();
        return application.isEmpty() ? QString::fromLocal8Bit(program_invocation_short_name) : application;
    }();
    return name;
}

QString QLXLogFileManagerDefault::logsDirectory()
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(m_logsDirectory).toStdString(), error);
    if (!error) {
        m_hasReportedFolderFailure = false;
    } else if (!m_hasReportedFolderFailure.exchange(true)) {
        // Once: every record would otherwise repeat it while the folder stays unusable.
        const QString reason = QString::fromStdString(error.message()) + u" ("_s + m_logsDirectory + u')';
        lexi::Console::writeLine(u"QLXFileLogManagerDefault: Error creating logsDirectory: %1"_s.arg(reason));
    }
    return m_logsDirectory;
}

bool QLXLogFileManagerDefault::isLogFile(const QString &fileName) const
{
    const auto name = lexi::LogFileName::parse(fileName);
    return name && name->applicationName == applicationName();
}

QString QLXLogFileManagerDefault::newLogFileName() const
{
    return lexi::LogFileName{applicationName(), m_clock.now()}.toString();
}

QStringList QLXLogFileManagerDefault::unsortedLogFilePaths()
{
    const QString folder = logsDirectory();
    QStringList paths;
    const auto names =
        QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &name : names) {
        if (isLogFile(name))
            paths.append(folder + u'/' + name);
    }
    return paths;
}

std::vector<QLXLogFileInfo> QLXLogFileManagerDefault::sortedLogFileInfos()
{
    std::vector<QLXLogFileInfo> infos;
    for (const QString &path : unsortedLogFilePaths())
        infos.emplace_back(path);
    std::sort(infos.begin(), infos.end(), QLXLogFileInfo::reverseCompareByCreationDate);
    return infos;
}

QStringList QLXLogFileManagerDefault::sortedLogFileNames()
{
    QStringList names;
    for (const auto &info : sortedLogFileInfos())
        names.append(info.fileName());
    return names;
}

std::optional<QString> QLXLogFileManagerDefault::createNewLogFile()
{
    const QString folder = logsDirectory();
    const lexi::Date now = m_clock.now();
    for (unsigned counter = 1; counter != 0; ++counter) {
        const QString path = folder + u'/' + lexi::LogFileName{applicationName(), now, counter}.toString();
        // Exclusive creation: a name another instance took a moment ago is never shared.
        const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (file < 0) {
            if (errno == EEXIST)
                continue;
            return std::nullopt;
        }
        ::close(file);
        // A mark kept in memory for an earlier file of this name does not belong to the new one.
        QLXLogFileInfo(path).setIsArchived(false);
        deleteOldLogFiles();
        return path;
    }
    return std::nullopt;
}

void QLXLogFileManagerDefault::deleteOldLogFiles()
{
    const quint64 maximum = m_maximumNumberOfLogFiles;
    if (maximum == 0)
        return;
    const auto infos = sortedLogFileInfos();
    auto kept = infos.begin();
    if (kept != infos.end() && !kept->isArchived())
        ++kept;
    if (quint64(infos.end() - kept) <= maximum)
        return;
    for (auto old = kept + qsizetype(maximum); old != infos.end(); ++old)
        ::unlink(QFile::encodeName(old->filePath()).constData());
}

quint64 QLXLogFileManagerDefault::maximumNumberOfLogFiles() const
{
    return m_maximumNumberOfLogFiles;
}

void QLXLogFileManagerDefault::setMaximumNumberOfLogFiles(quint64 maximum)
{
    if (m_maximumNumberOfLogFiles.exchange(maximum) == maximum)
        return;
    QLXLog::loggingQueue().async([weakSelf = weak_from_this()] {
        if (auto self = weakSelf.lock())
            self->deleteOldLogFiles();
    });
}
