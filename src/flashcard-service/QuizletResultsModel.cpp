#include "QuizletResultsModel.h"

#include "QuizletTexts.h"

using namespace Qt::StringLiterals;

namespace lexi {

void QuizletResultsModel::setSearchResults(const QLXQuizletSearchResults &results)
{
    beginResetModel();
    m_sets = results.sets();
    endResetModel();
}

const QLXQuizletSet *QuizletResultsModel::set(int row) const
{
    return row >= 0 && row < m_sets.size() ? &m_sets[row] : nullptr;
}

int QuizletResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_sets.size());
}

int QuizletResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant QuizletResultsModel::data(const QModelIndex &index, int role) const
{
    const QLXQuizletSet *shown = set(index.row());
    if (!shown || role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Title:
        return shown->title();
    case Author:
        return shown->createdBy();
    case Keywords:
        return shown->subjects().join(u", "_s);
    default:
        return {};
    }
}

QVariant QuizletResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Title:
        return quizlet::text(u"titleTableColumnTitle"_s);
    case Author:
        return quizlet::text(u"authorTableColumnTitle"_s);
    case Keywords:
        return quizlet::text(u"keywordsTableColumnTitle"_s);
    default:
        return {};
    }
}

} // namespace lexi
