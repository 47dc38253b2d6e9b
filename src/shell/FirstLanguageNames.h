#pragma once

#include <QString>

namespace lexi {

// The language names of the first vocabulary, made from the learner's locale and the name the
// learner typed for the language to learn.
struct FirstLanguageNames
{
    QString yourLanguageName;
    QString foreignLanguageName;

    friend bool operator==(const FirstLanguageNames &, const FirstLanguageNames &) = default;
};

// Both names trimmed; an empty one becomes "Unknown". An own name ending in ")" gets "_" appended,
// since a vocabulary file whose name ends in ")" would be taken for a cloud client's conflicted
// copy. When both are the same language (ignoring case), the own one becomes "My Language".
FirstLanguageNames firstLanguageNames(const QString &localeName, const QString &typedName);

} // namespace lexi
