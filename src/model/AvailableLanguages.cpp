#include "AvailableLanguages.h"

#include "VocabularyFileName.h"

#include "platform/files/ApplicationFolders.h"

#include <QDir>

namespace lexi {

QList<QLXFile> loadAllAvailableLanguages(const ApplicationFolders &folders)
{
    const QString folder = folders.vocabularyFolderPath();
    QList<QLXFile> files;
    files.reserve(10);
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (isVocabularyFileName(name) && !isConflictedCopy(name))
            files.append(QLXFile(folder + u'/' + name));
    }
    return files;
}

QStringList loadAllAvailableLanguagePaths(const ApplicationFolders &folders)
{
    QStringList paths;
    for (const QLXFile &file : loadAllAvailableLanguages(folders))
        paths.append(file.filePath());
    return paths;
}

} // namespace lexi
