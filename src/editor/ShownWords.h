#pragma once

#include "WordColumn.h"
#include "WordOrder.h"

#include "model/Lexicarta.h"
#include "model/QLXWord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace lexi {

// Which words the word table shows, and in which order.
struct ShownWordsQuery
{
    // 0 to 5 a level of the vocabulary, anything else all words.
    quint64 level = 6;
    // All the vocabulary's synonyms instead of the level's words.
    bool synonyms = false;
    // Words matching it (QLXWord::matchesSearchTerm()); nothing when empty.
    QString searchTerm{};
    // Words carrying at least one of them; every word when empty.
    QStringList tags{};
    WordColumn column = WordColumn::YourWord;

    bool operator==(const ShownWordsQuery &) const = default;
};

// One change of the table's rows, in the order the changes were made: a row taken out, a row
// put in (each numbered in the rows as they are at that moment), or a row whose word changed
// where it stands.
struct RowEdit
{
    enum class Kind { Removed, Inserted, Changed };

    Kind kind;
    qsizetype row;
    std::shared_ptr<QLXWord> word;

    bool operator==(const RowEdit &) const = default;
};

// The words of the word table: those of a level (or the synonyms), narrowed by a search term and
// by tags, in ascending order of a column; and the mapping between table rows and those words. A
// descending table is never sorted again: row r then shows word count - 1 - r.
class ShownWords
{
public:
    static constexpr quint64 allWordsLevel = 6;

    // The shown words anew. Asked again with the same query on the same vocabulary, the words
    // follow the words added, changed and removed since one by one, with the same result.
    void recalculate(Lexicarta &vocabulary, const ShownWordsQuery &query);
    // The rows' changes that took the rows of the last recalculation to these, when it followed
    // the words one by one; none when it found the words anew.
    // Taken once: the rows they lead to are shown then.
    std::optional<std::vector<RowEdit>> takeRowEdits() { return std::exchange(m_rowEdits, std::nullopt); }

    // In ascending order.
    const WordList &words() const { return m_words; }
    qsizetype count() const { return m_words.size(); }

    bool sortDescending() const { return m_sortDescending; }
    // Another direction numbers every row anew: the row edits no longer lead anywhere.
    void setSortDescending(bool descending)
    {
        if (descending != m_sortDescending)
            m_rowEdits.reset();
        m_sortDescending = descending;
    }

    // Row to index in words() and back: the same mapping both ways.
    qsizetype wordIndexForRow(qsizetype row) const { return m_sortDescending ? count() - 1 - row : row; }
    qsizetype rowForWordIndex(qsizetype index) const { return wordIndexForRow(index); }
    // The words as the rows show them.
    WordList wordsInRowOrder() const;
    // None outside the rows.
    std::shared_ptr<QLXWord> wordAtRow(qsizetype row) const;
    std::optional<qsizetype> rowOfWord(const QLXWord *word) const;

private:
    // What a word is searched in, folded once and kept until the word changes.
    struct SearchText
    {
        QString yourWord;
        QString foreignWord;
        QString comment;
        QStringList tags;
        // The sides, the comment and the tags, case-folded, each after a U+0001.
        QString folded;
    };

    // What the words found by a search were narrowed down from besides the term: the same words
    // in the same order, unchanged since, and the same level, synonyms and tags.
    struct SearchBase
    {
        WordList sorted;
        Lexicarta::WordChangeMark changes;
        quint64 level = allWordsLevel;
        bool synonyms = false;
        QStringList tags;

        bool isSameAs(const SearchBase &other) const;
    };

    // The places in the column's order of the words one search term found.
    struct Found
    {
        QString foldedTerm;
        std::vector<qint32> places;
    };

    // Takes the words found anew from the column's order.
    void narrowDown(Lexicarta &vocabulary, const ShownWordsQuery &query, const WordList &sorted);
    // Follows the words the order followed, when there are few and it knows them all; false
    // otherwise, perhaps part of the way through: the words are then to be found anew.
    bool followChanges(const Lexicarta &vocabulary, const ShownWordsQuery &query,
                       const WordOrder::Followed &followed);
    // Whether the word at `index` in the words shown is still where the column's order puts it
    // among the others.
    bool staysInPlace(const Lexicarta &vocabulary, WordColumn column, qsizetype index) const;
    // Whether a word passes the query's level, search term and tags (not the synonyms).
    static bool passes(const QLXWord &word, const ShownWordsQuery &query, const QString &foldedTerm);
    static bool isSource(const SearchText &text, const QLXWord &word);
    static SearchText makeSearchText(const QLXWord &word);
    // Brings the search texts in line with `sorted`, one per word.
    void updateSearchTexts(const Lexicarta &vocabulary, const WordList &sorted);
    // The words found before for a term that the new term contains: they hold every word the new
    // term finds. None when no term searched on the same base is in it.
    const Found *narrowestFoundWithin(const QString &foldedTerm) const;
    void rememberFound(Found found);

    WordOrder m_order;
    // The order the search texts line up with, and the word changes they have followed.
    WordList m_searchOrder;
    Lexicarta::WordChangeMark m_searchChanges;
    std::vector<SearchText> m_searchTexts;
    // The last terms searched for on one base, the newest last: a keystroke that extends the term
    // looks only at the words found before it, and one that takes a character back finds the
    // words it found then.
    SearchBase m_foundBase;
    std::vector<Found> m_found;
    WordList m_words;
    // What m_words were found for, in which vocabulary and for rows in which direction.
    std::optional<ShownWordsQuery> m_query;
    quint64 m_vocabulary = 0;
    bool m_rowsDescending = false;
    std::optional<std::vector<RowEdit>> m_rowEdits;
    bool m_sortDescending = false;
};

} // namespace lexi
