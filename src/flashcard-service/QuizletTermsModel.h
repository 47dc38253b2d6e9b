#pragma once

#include "QLXQuizletTerm.h"

#include <QAbstractTableModel>

namespace lexi {

// A set's terms as a table of two columns, the first holding what an import makes the foreign
// word, the second what it makes your word: the service's definition and term, or, with the
// direction inverted, its term and definition.
class QuizletTermsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Term, Definition, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setTerms(const QList<QLXQuizletTerm> &terms, bool inverted);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<QLXQuizletTerm> m_terms;
    bool m_inverted = false;
};

} // namespace lexi
