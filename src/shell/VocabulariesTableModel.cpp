#include "VocabulariesTableModel.h"

namespace lexi {

VocabulariesTableModel::VocabulariesTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void VocabulariesTableModel::setHeaders(const QStringList &headers)
{
    m_headers = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount_ - 1);
}

void VocabulariesTableModel::setFiles(const QList<QLXFile> &files)
{
    beginResetModel();
    m_files = files;
    endResetModel();
}

int VocabulariesTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_files.size());
}

int VocabulariesTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnCount_;
}

QVariant VocabulariesTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_files.size())
        return {};
    const QLXFile &file = m_files[index.row()];
    if (role == Qt::TextAlignmentRole && index.column() == words)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (Column(index.column())) {
    case language:
        return file.languageName();
    case words:
        return QString::number(file.numberOfWords());
    case yourTextInputSourceId:
        return file.yourInputSourceName();
    case foreignTextInputSourceId:
        return file.foreignInputSourceName();
    case columnCount_:
        break;
    }
    return {};
}

QVariant VocabulariesTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_headers.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headers[section];
}

} // namespace lexi
