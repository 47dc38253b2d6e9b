#include "LanguageNames.h"

#include "VocabularyFileName.h"

#include "platform/files/RegularFile.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

QString nameOrUnknown(const QString &field)
{
    const QString name = field.trimmed();
    return name.isEmpty() ? u"Unknown"_s : name;
}

bool isUsableName(const QString &name)
{
    return !name.contains(u'/') && !name.startsWith(u'.');
}

} // namespace

QString LanguageNames::displayName() const
{
    return foreign + u" - "_s + your;
}

LanguageNames languageNamesFromFields(const QString &foreignField, const QString &yourField)
{
    LanguageNames names{nameOrUnknown(foreignField), nameOrUnknown(yourField)};
    if (names.your.endsWith(u')'))
        names.your += u'_';
    return names;
}

std::optional<LanguageNamesProblem> problemWithLanguageNames(const LanguageNames &names)
{
    if (QString::compare(names.foreign, names.your, Qt::CaseInsensitive) == 0)
        return LanguageNamesProblem::sameNames;
    if (!isUsableName(names.foreign) || !isUsableName(names.your)
        || !vocabularyFileNameForName(names.displayName()))
        return LanguageNamesProblem::unusableName;
    return std::nullopt;
}

bool hasOtherVocabularyFile(const QString &folder, const QString &fileName, const QString &exceptPath)
{
    const QDir directory(folder);
    const QStringList entries = directory.entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString &entry : entries) {
        if (QString::compare(entry, fileName, Qt::CaseInsensitive) != 0)
            continue;
        if (exceptPath.isEmpty() || !isSameFile(directory.filePath(entry), exceptPath))
            return true;
    }
    return false;
}

} // namespace lexi
