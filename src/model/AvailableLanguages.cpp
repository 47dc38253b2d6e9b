#include "AvailableLanguages.h"

#include "VocabularyFileName.h"

#include "logging/QLXLogMacros.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/ports/Clock.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int qlxLogLevel = QLXLogLevelWarn;

} // namespace

namespace lexi {

QList<QLXFile> loadAllAvailableLanguages(const ApplicationFolders &folders, const Clock &clock)
{
    const QString folder = folders.vocabularyFolderPath();
    QList<QLXFile> files;
    files.reserve(10);
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (!isVocabularyFileName(name))
            continue;
        const QString path = folder + u'/' + name;
        if (isConflictedCopy(name)) {
            QFile copy(path);
            if (!copy.rename(newBackupPath(folders.backupFolderPath(), name, clock.now())))
                QLXLogWarn("AppDelegate > could not move the conflicted copy %@ to the backups: %@", path,
                           copy.errorString());
            continue;
        }
        files.append(QLXFile(path));
    }
    return files;
}

QStringList loadAllAvailableLanguagePaths(const ApplicationFolders &folders, const Clock &clock)
{
    QStringList paths;
    for (const QLXFile &file : loadAllAvailableLanguages(folders, clock))
        paths.append(file.filePath());
    return paths;
}

} // namespace lexi
