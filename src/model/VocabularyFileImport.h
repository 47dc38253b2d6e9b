#pragma once

#include "LanguageNames.h"
#include "Lexicarta.h"
#include "TextImport.h"

#include <QString>

#include <memory>
#include <optional>

namespace lexi {

// A vocabulary file chosen for import, read: it becomes a new language, saved as a vocabulary
// file of its own, or its words join the open vocabulary.
class VocabularyFileImport
{
public:
    // Why a name cannot be the new language's.
    enum class NameProblem {
        // The language sheet's rules (see problemWithLanguageNames).
        sameNames,
        unusableName,
        // A vocabulary of that name exists already (ignoring case).
        exists,
    };

    explicit VocabularyFileImport(std::shared_ptr<Lexicarta> imported);

    const std::shared_ptr<Lexicarta> &vocabulary() const { return m_imported; }

    // The names of the new language: `nameField` as the foreign name and `localeName` as the own
    // one, made as the language sheet makes them from its fields.
    static LanguageNames newLanguageNames(const QString &nameField, const QString &localeName);
    // Why `names` cannot name a new vocabulary in `vocabularyFolder`; nothing when they can.
    static std::optional<NameProblem> problemWithNewLanguage(const LanguageNames &names,
                                                             const QString &vocabularyFolder);

    // Makes the imported vocabulary the new language `names`, marked as changed since the last
    // synchronisation, so that the next one uploads it instead of taking an older cloud copy of
    // that name. With `markAllAsUnknown` every word goes to level 0 and the words are numbered
    // anew as one batch.
    void makeNewLanguage(const LanguageNames &names, bool markAllAsUnknown);

    // Adds the imported words that `open` holds no equal word of (see Lexicarta::
    // joinWithVocabulary), all at level 0 with `markAllAsUnknown`.
    ImportCount joinInto(Lexicarta &open, bool markAllAsUnknown);
    // The choosing of joinInto() on another thread, which the imported vocabulary is used on
    // meanwhile, from what `addition` took of the open vocabulary: the words to join are
    // appended to it, for Lexicarta::addPrepared() on the open vocabulary's thread.
    ImportCount chooseWordsToJoin(Lexicarta::PreparedAddition &addition, bool markAllAsUnknown);

private:
    std::shared_ptr<Lexicarta> m_imported;
};

} // namespace lexi
