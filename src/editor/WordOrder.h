#pragma once

#include "WordColumn.h"

#include "model/Lexicarta.h"
#include "model/QLXWord.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace lexi {

// Whether two texts (or lists) are the same shared object: an edit always stores a new one, which
// cannot share the old one's data while a copy of that is kept.
template<typename Shared>
bool isSameObject(const Shared &left, const Shared &right)
{
    return left.constData() == right.constData() && left.size() == right.size();
}

// Every word of a vocabulary in the order of one table column, for the word table. Comparing the
// words themselves folds case and strips facultative words on every comparison, far too slow for
// a keystroke on a large vocabulary; so each word's sort key is taken once and kept until the word
// changes, and the order of all words is kept, so that narrowing the words down never sorts.
//
// The orders are those of QLXWord's comparators (compareYourLang() and its siblings); words of
// equal keys keep their stored order.
class WordOrder
{
public:
    // The vocabulary's words in ascending order of `column`. Brought up to date on each call: a
    // changed list of words, changed facultative words or a changed property of a word is seen
    // (changes are found by the identity of the shared texts, which an edit always replaces).
    const WordList &sortedWords(const Lexicarta &vocabulary, WordColumn column);

    // What the last sortedWords() of a column followed word by word, so that lists narrowed down
    // from its order can follow the same words alone.
    struct Followed
    {
        // False when the order was taken anew or every word was looked at: the words below are
        // then not all that changed.
        bool isKnown = false;
        // Words that came into the list, and words that went (by address: they may be gone).
        WordList added;
        QSet<const QLXWord *> removed;
        // Words listed whose stored form changed, whether or not that moved them here.
        WordList changed;
    };
    const Followed &lastFollowed(WordColumn column) const { return m_columns[std::size_t(column)].followed; }

    using TextHead = std::array<quint64, 3>;

    // Ordered by rank, then time, then text as QString::compare() orders texts.
    struct Key
    {
        // Tags: their number; lastAsked: 1 when asked; else 0.
        qint64 rank = 0;
        double time = 0;
        // The folded text, or the folded tags separated by U+0000.
        QString text;
        // The text's first UTF-16 code units, for comparing without reading the text.
        TextHead head{};
    };

    // Where a word of the vocabulary goes in a column's order: its key, and its place in the
    // stored order, which decides between equal keys.
    struct Place
    {
        Key key;
        qint64 position = 0;
    };
    // The word must be listed in `vocabulary` (once), whose order sortedWords() gave last.
    Place placeOf(const Lexicarta &vocabulary, const QLXWord &word, WordColumn column) const;
    static bool isBefore(const Place &left, const Place &right);

private:

    // One word with the property its key was taken from.
    struct Entry
    {
        std::shared_ptr<QLXWord> word;
        QString sourceText;
        QStringList sourceTags;
        std::optional<Date> sourceDate;
        Key key;
        // Grows with the word's place in the stored order, which decides between equal keys.
        qint64 position = 0;
    };

    struct ColumnOrder
    {
        // The vocabulary's list of words the entries were made for, and the list's mark then. No
        // copy of the list is kept, so that adding a word never copies the vocabulary's list; the
        // entries keep these words alive, so that an address here is no other word's.
        std::vector<const QLXWord *> listed;
        Lexicarta::WordChangeMark listSeen;
        QStringList facultatives;
        // In the column's order, and the same words as a list. The entries are held by pointer so
        // that putting one in or taking one out moves pointers alone.
        std::vector<std::unique_ptr<Entry>> entries;
        WordList sorted;
        qint64 nextPosition = 0;
        bool isSorted = false;
        // The vocabulary's word changes that the entries have followed.
        Lexicarta::WordChangeMark changesSeen;
        Followed followed;
    };

    static bool isSource(const Entry &entry, const QLXWord &word, WordColumn column);
    static Entry makeEntry(const std::shared_ptr<QLXWord> &word, WordColumn column, const QStringList &facultatives);
    // Takes the word's property into `entry`, and the key from it.
    static void takeKey(Entry &entry, const QLXWord &word, WordColumn column, const QStringList &facultatives);
    // -1, 0 or 1 as `left` orders before, with or after `right`.
    static int compareKeys(const Key &left, const Key &right);
    static bool isBefore(const Entry &left, const Entry &right);
    static bool isBeforeHeld(const std::unique_ptr<Entry> &left, const std::unique_ptr<Entry> &right)
    {
        return isBefore(*left, *right);
    }
    // Takes every key anew from `words` and sorts them.
    static void rebuild(ColumnOrder &order, const WordList &words, WordColumn column);
    // Follows a list that lost some words and gained others at its end, when it did only that;
    // false when the list changed otherwise.
    static bool followList(ColumnOrder &order, const WordList &words, WordColumn column);
    // Takes out the entries at the indexes (ascending), and puts entries in by binary search.
    static void removeEntries(ColumnOrder &order, const std::vector<std::size_t> &indexes);
    static void insertEntry(ColumnOrder &order, std::unique_ptr<Entry> entry);

    std::array<ColumnOrder, 5> m_columns;
};

} // namespace lexi
