#pragma once

#include "ShownWords.h"

#include "model/QLXWord.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace lexi {
class Clock;
}

// The word table's rows: one shown word each, in the order the list gives. A refresh of the
// whole list resets the table; a change of some words is reported as changed, inserted, removed
// or moved rows, so that the view keeps its place and selection.
class WordTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { YourWordColumn, ForeignWordColumn, CommentColumn, TagsColumn, LastAskedColumn, ColumnCount };

    // Takes a dropped text onto a row; answers whether it was taken.
    using DropHandler = std::function<bool(int row, const QString &text)>;

    explicit WordTableModel(const lexi::Clock &clock, QObject *parent = nullptr);

    void setDropHandler(DropHandler handler) { m_dropHandler = std::move(handler); }
    void setLanguageNames(const QString &yourLanguage, const QString &foreignLanguage);
    void setColumnTitles(const QString &comment, const QString &tags, const QString &lastAsked);

    // A refresh: the table shows `rows` from scratch.
    void resetRows(const lexi::WordList &rows);
    // A change: the table moves from its rows to `rows` by row operations.
    void changeRows(const lexi::WordList &rows);
    // These words changed in place.
    void wordsChanged(const lexi::WordList &words);
    // The rows changed one by one, as the shown words followed their words.
    void applyRowEdits(const std::vector<lexi::RowEdit> &edits);

    const lexi::WordList &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

private:
    void replaceRows(const lexi::WordList &rows);
    bool removeToMatch(const lexi::WordList &rows);
    // `gone` holds the ranges of rows removed, [first, end) in ascending order.
    void removeAtOnce(const lexi::WordList &rows, const QList<std::pair<int, int>> &gone);
    bool insertToMatch(const lexi::WordList &rows);

    const lexi::Clock &m_clock;
    lexi::WordList m_rows;
    DropHandler m_dropHandler;
    QString m_titles[ColumnCount];
};
