#include "VocabularyFileName.h"

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lexi {

bool isVocabularyFileName(const QString &name)
{
    if (name.startsWith(u'.') || name.contains(u'/') || name.contains(QChar(0)))
        return false;
    const qsizetype first = name.indexOf(vocabularyFileExtension, 0, Qt::CaseInsensitive);
    return first > 0 && first == name.size() - vocabularyFileExtension.size();
}

bool isConflictedCopy(const QString &name)
{
    if (!isVocabularyFileName(name))
        return false;
    const QStringView base = QStringView(name).chopped(vocabularyFileExtension.size());
    const qsizetype open = base.lastIndexOf(u'(');
    if (open < 0 || !base.endsWith(u')'))
        return false;
    const QStringView inside = base.sliced(open + 1, base.size() - open - 2);
    const bool isNumber = !inside.isEmpty()
        && std::all_of(inside.begin(), inside.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return isNumber || inside.contains(u"conflicted copy"_s, Qt::CaseInsensitive);
}

std::optional<QString> vocabularyFileNameForName(const QString &name)
{
    QString fileName = name + vocabularyFileExtension;
    if (!isVocabularyFileName(fileName) || isConflictedCopy(fileName))
        return std::nullopt;
    return fileName;
}

QString withoutVocabularyExtension(const QString &fileName)
{
    return fileName.endsWith(vocabularyFileExtension, Qt::CaseInsensitive)
        ? fileName.chopped(vocabularyFileExtension.size())
        : fileName;
}

QString newBackupPath(const QString &backupFolder, const QString &fileName, Date time)
{
    const QString stamp = time.toDateTime().toLocalTime().toString(u"yyyy-MM-dd-HH-mm-ss"_s);
    const QString base = backupFolder + u'/' + withoutVocabularyExtension(fileName) + u'-' + stamp;
    QString path = base + vocabularyFileExtension;
    for (int number = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++number)
        path = base + u'-' + QString::number(number) + vocabularyFileExtension;
    return path;
}

} // namespace lexi
