#pragma once

#include "QLXQuizletSet.h"
#include "QuizletImport.h"

#include <optional>

namespace lexi {

class VocabularyKeeper;

// What the set popover shows and allows, without any display: the set (as the search described
// it, then with its details), the direction of the import, and the import's outcome. The import
// is possible only once the set's details have brought terms, and only once per set shown.
class QuizletPopupState
{
public:
    // Shows `set`, with `withDetails` when it came with all its terms; an earlier import is
    // forgotten. The direction stays as the learner chose it.
    void setQuizletSet(const QLXQuizletSet &set, bool withDetails);
    const QLXQuizletSet &quizletSet() const { return m_set; }

    // The service's terms become the foreign words and its definitions your words.
    bool invertImportDirection() const { return m_invertImportDirection; }
    void changeDirection() { m_invertImportDirection = !m_invertImportDirection; }

    bool canImport() const;
    // Imports the set into the keeper's open vocabulary (see importQuizletSet) when that is
    // possible; nothing happens otherwise.
    void import(VocabularyKeeper &keeper);
    // The outcome of the import of the set shown; none before it.
    const std::optional<QuizletImportCounts> &importCounts() const { return m_importCounts; }

private:
    QLXQuizletSet m_set;
    bool m_hasDetails = false;
    bool m_invertImportDirection = false;
    std::optional<QuizletImportCounts> m_importCounts;
};

} // namespace lexi
