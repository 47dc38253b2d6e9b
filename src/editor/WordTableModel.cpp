#include "WordTableModel.h"

#include "TagDrop.h"

#include "model/WordListRelease.h"
#include "model/WordObjectSet.h"
#include "platform/values/Dates.h"
#include "views/PaletteColors.h"
#include "views/PlainText.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <QMimeData>

#include <utility>

using namespace Qt::StringLiterals;

WordTableModel::WordTableModel(const lexi::Clock &clock, QObject *parent) : QAbstractTableModel(parent), m_clock(clock)
{
}

void WordTableModel::setLanguageNames(const QString &yourLanguage, const QString &foreignLanguage)
{
    m_titles[YourWordColumn] = yourLanguage;
    m_titles[ForeignWordColumn] = foreignLanguage;
    emit headerDataChanged(Qt::Horizontal, YourWordColumn, ForeignWordColumn);
}

void WordTableModel::setColumnTitles(const QString &comment, const QString &tags, const QString &lastAsked)
{
    m_titles[CommentColumn] = comment;
    m_titles[TagsColumn] = tags;
    m_titles[LastAskedColumn] = lastAsked;
    emit headerDataChanged(Qt::Horizontal, CommentColumn, LastAskedColumn);
}

void WordTableModel::replaceRows(const lexi::WordList &rows)
{
    lexi::letGo(std::exchange(m_rows, rows));
}

void WordTableModel::resetRows(const lexi::WordList &rows)
{
    beginResetModel();
    replaceRows(rows);
    endResetModel();
}

namespace {

// Each range of rows removed costs the views a pass over all rows: a removal of more ranges
// than this is told as one change of the layout.
constexpr qsizetype mostRangesRemoved = 8;

} // namespace

// `rows` are the rows here without some: those go, range by range from the bottom, or at once
// when they lie in many ranges.
bool WordTableModel::removeToMatch(const lexi::WordList &rows)
{
    // The first row of each range that goes and the row after it.
    QList<std::pair<int, int>> gone;
    qsizetype next = 0;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (next < rows.size() && m_rows.at(row) == rows.at(next))
            ++next;
        else if (!gone.isEmpty() && gone.last().second == row)
            gone.last().second = row + 1;
        else
            gone.append({row, row + 1});
    }
    if (next != rows.size())
        return false;
    if (gone.size() > mostRangesRemoved) {
        removeAtOnce(rows, gone);
        return true;
    }
    for (auto range = gone.crbegin(); range != gone.crend(); ++range) {
        beginRemoveRows({}, range->first, range->second - 1);
        m_rows.remove(range->first, range->second - range->first);
        endRemoveRows();
    }
    return true;
}

// The rows kept move up past the ranges above them; the view's selection and current row follow
// their words, and those of rows gone are dropped.
void WordTableModel::removeAtOnce(const lexi::WordList &rows, const QList<std::pair<int, int>> &gone)
{
    // How many rows go above each range.
    QList<int> goneAbove;
    goneAbove.reserve(gone.size());
    int count = 0;
    for (const auto &[first, end] : gone) {
        goneAbove.append(count);
        count += end - first;
    }
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before) {
        // The first range that ends below the row: it holds the row, or lies wholly below it.
        const auto range = std::upper_bound(gone.cbegin(), gone.cend(), index.row(),
                                            [](int row, const std::pair<int, int> &range) { return row < range.second; });
        if (range != gone.cend() && range->first <= index.row()) {
            after.append(QModelIndex());
            continue;
        }
        const int above = range != gone.cend() ? goneAbove.at(range - gone.cbegin()) : count;
        after.append(createIndex(index.row() - above, index.column()));
    }
    replaceRows(rows);
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

// The rows here are `rows` without some: those come, range by range from the top.
bool WordTableModel::insertToMatch(const lexi::WordList &rows)
{
    qsizetype next = 0;
    for (const auto &word : rows) {
        if (next < m_rows.size() && m_rows[next] == word)
            ++next;
    }
    if (next != m_rows.size())
        return false;
    for (int row = 0; row < rows.size();) {
        if (row < m_rows.size() && m_rows[row] == rows[row]) {
            ++row;
            continue;
        }
        int end = row;
        // Up to the next row that is here already.
        while (end < rows.size() && !(row < m_rows.size() && rows[end] == m_rows[row]))
            ++end;
        beginInsertRows({}, row, end - 1);
        m_rows.insert(row, end - row, nullptr);
        for (int i = row; i < end; ++i)
            m_rows[i] = rows[i];
        endInsertRows();
        row = end;
    }
    return true;
}

void WordTableModel::changeRows(const lexi::WordList &rows)
{
    if (rows == m_rows)
        return;
    if (rows.size() < m_rows.size() && removeToMatch(rows))
        return;
    if (rows.size() > m_rows.size() && insertToMatch(rows))
        return;
    // Rows moved: the view's selection and current row follow their words.
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QHash<const QLXWord *, int> newRows;
    newRows.reserve(rows.size());
    for (int row = 0; row < rows.size(); ++row)
        newRows.insert(rows[row].get(), row);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before) {
        const auto found = index.row() < m_rows.size() ? newRows.constFind(m_rows[index.row()].get()) : newRows.cend();
        after.append(found != newRows.cend() ? createIndex(*found, index.column()) : QModelIndex());
    }
    replaceRows(rows);
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void WordTableModel::applyRowEdits(const std::vector<lexi::RowEdit> &edits)
{
    for (const lexi::RowEdit &edit : edits) {
        const int row = int(edit.row);
        switch (edit.kind) {
        case lexi::RowEdit::Kind::Removed:
            beginRemoveRows({}, row, row);
            m_rows.remove(row);
            endRemoveRows();
            break;
        case lexi::RowEdit::Kind::Inserted:
            beginInsertRows({}, row, row);
            m_rows.insert(row, edit.word);
            endInsertRows();
            break;
        case lexi::RowEdit::Kind::Changed:
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
            break;
        }
    }
}

void WordTableModel::wordsChanged(const lexi::WordList &words)
{
    QSet<const QLXWord *> objects;
    for (const auto &word : words)
        objects.insert(word.get());
    // Most rows are told apart from the few words without a lookup.
    const lexi::WordObjectSet changed(std::move(objects));
    for (int row = 0; row < m_rows.size(); ++row) {
        if (changed.contains(m_rows[row].get()))
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

int WordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int WordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant WordTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const QLXWord &word = *m_rows[index.row()];
    const bool isTags = index.column() == TagsColumn;
    switch (role) {
    case Qt::ToolTipRole:
        // The texts as they are; the time since the last question needs none.
        if (index.column() == LastAskedColumn)
            return {};
        return lexi::plainToolTip(data(index, Qt::DisplayRole).toString());
    case Qt::DisplayRole:
        switch (index.column()) {
        case YourWordColumn:
            return word.yourWord();
        case ForeignWordColumn:
            return word.foreignWord();
        case CommentColumn:
            return word.comment();
        case TagsColumn:
            return word.tagsSorted().join(u", "_s);
        default:
            return lexi::timeSinceDate(word.lastAsked(), m_clock);
        }
    case Qt::FontRole:
        if (word.dontAskAgain() && !isTags) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    case Qt::ForegroundRole:
        // Ordinary rows take the view's text colour; the greys are made from the palette.
        if (isTags)
            return lexi::textTowardsBackground(QGuiApplication::palette(), 2.0 / 3);
        if (word.dontAskAgain())
            return lexi::textTowardsBackground(QGuiApplication::palette(), 0.5);
        return {};
    default:
        return {};
    }
}

QVariant WordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return m_titles[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags WordTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
}

QStringList WordTableModel::mimeTypes() const
{
    return {u"text/plain"_s};
}

Qt::DropActions WordTableModel::supportedDropActions() const
{
    return Qt::CopyAction;
}

namespace {

std::optional<QString> droppedText(const QMimeData *data)
{
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text();
}

} // namespace

// A drop onto a row comes with that row as the parent; one between rows with the root.
bool WordTableModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int, const QModelIndex &parent) const
{
    return lexi::TagDrop::accepts(parent.isValid(), droppedText(data));
}

bool WordTableModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                  const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent) || !m_dropHandler)
        return false;
    return m_dropHandler(parent.row(), data->text());
}
