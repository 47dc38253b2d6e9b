#include "DropBoxController.h"


#include "logging/QLXLogMacros.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/RegularFile.h"

#include <QDir>

#include <algorithm>

using namespace Qt::StringLiterals;
using lexi::CloudFolder;

// The sync logs of this machine carried to its folder in the cloud, where the oldest are tidied
// away.

namespace {

constexpr int qlxLogLevel = QLXLogLevelVerbose;

// The number of a sync log file, "<whole seconds since 2001>.txt".
std::optional<qint64> logFileNumber(const QString &name)
{
    if (!name.endsWith(u".txt"_s))
        return std::nullopt;
    const QStringView digits = QStringView(name).chopped(4);
    const bool allDigits = !digits.isEmpty() && digits.size() <= 18
        && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return allDigits ? std::optional(digits.toLongLong()) : std::nullopt;
}

} // namespace

void DropBoxController::syncSyncLogToDropbox()
{
    std::lock_guard run(m_runMutex);
    if (!isLinked())
        return;
    const QString localFolder = m_environment.folders->logsFolderPath();
    QStringList names;
    for (const QString &name : QDir(localFolder).entryList(QDir::Files, QDir::Name)) {
        if (logFileNumber(name))
            names.append(name);
    }
    if (names.isEmpty()) {
        QLXLogInfo("DB > syncLog > no localSyncLogs");
        return;
    }

    CloudFolder &cloud = *m_environment.cloudFolder;
    const QString folder = u"Logs/"_s + deviceName();
    if (const auto entries = cloud.listFolder(folder)) {
        for (const CloudFolder::Entry &entry : *entries)
            names.removeAll(entry.name);
    } else {
        QLXLogError("DB > syncLog > could not list LogFolder %@", entries.error());
        if (const auto made = cloud.createFolder(folder); !made) {
            QLXLogError("DB > syncLog > could not create LogFolder %@", made.error());
            return;
        }
    }

    for (const QString &name : names) {
        const auto data = lexi::readRegularFile(localFolder + u'/' + name);
        if (!data) {
            QLXLogError("DB > sync > could not read log file %@", name);
            continue;
        }
        if (const auto written = cloud.createFile(folder + u'/' + name, *data); !written)
            QLXLogError("DB > sync > could not write db file %@", written.error());
    }
    tidyLogFolder(folder);
}

void DropBoxController::tidyLogFolder(const QString &cloudPath)
{
    CloudFolder &cloud = *m_environment.cloudFolder;
    const auto entries = cloud.listFolder(cloudPath);
    if (!entries)
        return;
    // By number: a plain text order would put "1000000000.txt" before "999999999.txt".
    QList<std::pair<qint64, QString>> logs;
    for (const CloudFolder::Entry &entry : *entries) {
        if (const std::optional<qint64> number = logFileNumber(entry.name); number && !entry.isFolder)
            logs.append({*number, entry.name});
    }
    if (logs.size() <= maxNumberOfLogFiles)
        return;
    std::sort(logs.begin(), logs.end());
    for (qsizetype i = 0; i < logs.size() - maxNumberOfLogFiles; ++i)
        cloud.deletePath(cloudPath + u'/' + logs[i].second);
}
