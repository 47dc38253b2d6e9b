#include "QuizletPopupState.h"

namespace lexi {

void QuizletPopupState::setQuizletSet(const QLXQuizletSet &set, bool withDetails)
{
    m_set = set;
    m_hasDetails = withDetails;
    m_importCounts.reset();
}

bool QuizletPopupState::canImport() const
{
    // A summary from the search may lack terms the set has, and the placeholder set has none.
    return m_hasDetails && !m_set.terms().isEmpty() && !m_importCounts;
}

void QuizletPopupState::import(VocabularyKeeper &keeper)
{
    if (canImport())
        m_importCounts = importQuizletSet(m_set, m_invertImportDirection, keeper);
}

} // namespace lexi
