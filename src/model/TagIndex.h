#pragma once

#include "QLXWord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lexi {

// The tags of a list of words, for tag completion: every tag once, and for a prefix the tags that
// begin with it, the most used first. Built once from the words and asked on every keystroke.
class TagIndex
{
public:
    explicit TagIndex(const WordList &words);

    // Every tag, once, in the order first met in the words.
    const QStringList &allTags() const { return m_allTags; }
    // The tags that begin with `prefix` (exactly, case-sensitive) and are longer than it: the one
    // carried by most words first, equally used ones in the order first met. None when there is
    // no such tag, and for the empty prefix.
    std::optional<QStringList> completions(const QString &prefix) const;

private:
    struct Entry
    {
        QString tag;
        // Position in the order of completions.
        qsizetype rank;
    };

    QStringList m_allTags;
    QStringList m_byUse;
    // Sorted by tag, so that the tags beginning with a prefix stand together.
    std::vector<Entry> m_byText;
};

} // namespace lexi
