#include "AvailableLanguages.h"

#include "platform/ApplicationFolders.h"

#include <QDir>
#include <QFile>

namespace lexi {

namespace {

const QString extension = QStringLiteral(".qlxv");

bool isVocabularyFileName(const QString &name)
{
    const qsizetype first = name.indexOf(extension, 0, Qt::CaseInsensitive);
    return first >= 0 && first == name.size() - extension.size();
}

} // namespace

QList<QLXFile> loadAllAvailableLanguages(const ApplicationFolders &folders)
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
        if (name.endsWith(u')' + extension)) {
            QFile::remove(path);
            continue;
        }
        files.append(QLXFile(path));
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
