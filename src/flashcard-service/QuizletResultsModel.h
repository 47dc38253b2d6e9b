#pragma once

#include "QLXQuizletSearchResults.h"

#include <QAbstractTableModel>

namespace lexi {

// The sets of one page of search results as a table: their title, author and keywords (the
// set's subjects), as the plain text the service gave.
class QuizletResultsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Title, Author, Keywords, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Shows the sets of `results` in place of those before.
    void setSearchResults(const QLXQuizletSearchResults &results);
    // The set of `row`; none outside the list.
    const QLXQuizletSet *set(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<QLXQuizletSet> m_sets;
};

} // namespace lexi
