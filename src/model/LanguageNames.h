#pragma once

#include <QString>

#include <optional>

namespace lexi {

// The two language names a vocabulary is saved under, as the language sheet makes them from its
// fields.
struct LanguageNames
{
    QString foreign;
    QString your;

    // "foreign - your": the vocabulary's name everywhere, and its file's name.
    QString displayName() const;

    friend bool operator==(const LanguageNames &, const LanguageNames &) = default;
};

// The names of the sheet's two fields: trimmed of white space and newlines, "Unknown" when empty.
// An own name ending in ")" gets a "_", so that the vocabulary's file name is never taken for a
// cloud client's copy of a conflicting file.
LanguageNames languageNamesFromFields(const QString &foreignField, const QString &yourField);

enum class LanguageNamesProblem {
    // Both names are the same, ignoring case.
    sameNames,
    // A name that could lead out of the vocabularies folder or into another settings group: one
    // with a "/", or beginning with "." (".." included); or a display name that makes no
    // vocabulary file name.
    unusableName,
};

// Why the names cannot name a vocabulary; nothing when they can.
std::optional<LanguageNamesProblem> problemWithLanguageNames(const LanguageNames &names);

// Whether a file in `folder` other than the one at `exceptPath` (none: any file) is named
// `fileName`, ignoring case as the cloud does: a vocabulary of that name exists already.
bool hasOtherVocabularyFile(const QString &folder, const QString &fileName, const QString &exceptPath = QString());

} // namespace lexi
