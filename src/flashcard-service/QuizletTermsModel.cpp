#include "QuizletTermsModel.h"

namespace lexi {

void QuizletTermsModel::setTerms(const QList<QLXQuizletTerm> &terms, bool inverted)
{
    beginResetModel();
    m_terms = terms;
    m_inverted = inverted;
    endResetModel();
}

int QuizletTermsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_terms.size());
}

int QuizletTermsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QuizletTermsModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= m_terms.size())
        return {};
    const QLXQuizletTerm &term = m_terms[index.row()];
    switch (index.column()) {
    case Term:
        return m_inverted ? term.yourLangWord() : term.foreignLangWord();
    case Definition:
        return m_inverted ? term.foreignLangWord() : term.yourLangWord();
    default:
        return {};
    }
}

} // namespace lexi
