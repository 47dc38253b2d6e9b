#pragma once

#include "model/QLXFile.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace lexi {

// The languages table: one row per vocabulary file, with its display name, its number of words
// and the names of its two keyboards.
class VocabulariesTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { language, words, yourTextInputSourceId, foreignTextInputSourceId, columnCount_ };

    explicit VocabulariesTableModel(QObject *parent = nullptr);

    // Column titles, in column order.
    void setHeaders(const QStringList &headers);
    void setFiles(const QList<QLXFile> &files);
    const QList<QLXFile> &files() const { return m_files; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<QLXFile> m_files;
    QStringList m_headers;
};

} // namespace lexi
