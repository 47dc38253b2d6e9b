#pragma once

#include "QLXWord.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace lexi {

// The tags of a list of words, for tag completion: every tag once, and for a prefix the tags that
// begin with it, the most used first. Built once from the words, then kept up to date word by
// word (a word added at the end, removed, or with new tags), and asked on every keystroke.
class TagIndex
{
public:
    // Where the word at an index of the list stands in the stored order: a number that grows
    // along the list.
    using PositionAt = std::function<qint64(qsizetype index)>;

    // The words' positions are their indexes.
    explicit TagIndex(const WordList &words);
    TagIndex(const WordList &words, const PositionAt &positionAt);

    // Every tag, once, in the order first met in the words.
    const QStringList &allTags() const;
    // The tags that begin with `prefix` (exactly, case-sensitive) and are longer than it: the one
    // carried by most words first, equally used ones in the order first met. None when there is
    // no such tag, and for the empty prefix.
    std::optional<QStringList> completions(const QString &prefix) const;

    // A word listed at `position`. False when the index cannot follow the change and must be
    // built anew: where a tag is first met can move only to a word before it.
    bool addWord(const QLXWord &word, qint64 position);
    // A word that carried `tags` is no longer listed.
    bool removeWord(const QLXWord &word, const QStringList &tags);
    // The word at `position` carried `previousTags` and now carries its tags().
    bool changeTags(const QLXWord &word, qint64 position, const QStringList &previousTags);

private:
    struct Use
    {
        qsizetype count = 0;
        // Where the tag is first met: the word, its position and the tag's index among its tags.
        const QLXWord *firstCarrier = nullptr;
        qint64 firstPosition = 0;
        qsizetype indexInCarrier = 0;
    };
    struct Entry
    {
        QString tag;
        // Position in the order of completions.
        qsizetype rank;
    };
    // The orders asked for, made from the uses when first asked after a change.
    struct Orders
    {
        QStringList allTags;
        QStringList byUse;
        // Sorted by tag, so that the tags beginning with a prefix stand together.
        std::vector<Entry> byText;
    };

    void addTag(const QString &tag, const QLXWord &word, qint64 position, qsizetype index);
    // One use fewer; false when that moves where the tag is first met.
    bool removeTag(const QString &tag, const QLXWord &word);
    const Orders &orders() const;

    QHash<QString, Use> m_uses;
    mutable std::optional<Orders> m_orders;
};

} // namespace lexi
