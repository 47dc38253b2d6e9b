#include "VocabularyFileName.h"

#include <QFileInfo>
#include <QRegularExpression>

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
    return conflictedCopyOriginal(name).has_value();
}

std::optional<QString> conflictedCopyOriginal(const QString &name)
{
    if (!isVocabularyFileName(name))
        return std::nullopt;
    const QString extension = name.right(vocabularyFileExtension.size());
    const QString base = name.chopped(vocabularyFileExtension.size());
    static const QRegularExpression syncthing(u"^(.*)\\.sync-conflict-\\d{8}-\\d{6}-[A-Za-z0-9]+$"_s);
    if (const QRegularExpressionMatch match = syncthing.match(base); match.hasMatch())
        return match.captured(1) + extension;
    static const QRegularExpression parenthesised(u"^(.*?) *\\(([^()]*)\\)$"_s);
    const QRegularExpressionMatch match = parenthesised.match(base);
    if (!match.hasMatch())
        return std::nullopt;
    // Unison's marks are "conflict_on_<date>" and "conflict #<n>_on_<date>".
    static const QRegularExpression copyMark(u"^\\d+$|conflicted copy|^conflict(?![a-z])"_s,
                                             QRegularExpression::CaseInsensitiveOption);
    if (!copyMark.match(match.captured(2)).hasMatch())
        return std::nullopt;
    return match.captured(1) + extension;
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
