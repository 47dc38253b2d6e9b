#pragma once

#include "QLXWord.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class Lexicarta;

namespace lexi {

// Which words an export writes: those of the chosen levels that carry the chosen tags.
struct ExportSelection
{
    // One choice per level, 0 to 5; level 5 stands for every word of level 5 or more,
    // don't-ask-again words included.
    std::array<bool, QLXWord::nativeLevel + 1> levels{};
    // The tag field's tokens. When they hold the text of "all" (default table), there is no tag
    // filter.
    QStringList tags;
    // Every tag (the all/any choice's first row), else any of them.
    bool mustHaveAll = true;
};

// The vocabulary an export writes, made in two steps so that the open vocabulary is read only on
// its own thread and the work that grows with the words runs on another: it holds copies of the
// chosen words, never the open vocabulary's own word objects, so the open vocabulary is the same
// after the export as before.
class ExportCopy
{
public:
    // Takes from `vocabulary` what the copy keeps of it: the foreign language name, the statistics,
    // the facultative words of both sides and both input source identifiers (everything else, the
    // own language name included, is as in a new vocabulary), and copies of the words that
    // `selection` chooses, level by level. On the vocabulary's thread; cheap.
    ExportCopy(const Lexicarta &vocabulary, const ExportSelection &selection);

    // The copy with its words, added in one batch. Any thread; once.
    std::shared_ptr<Lexicarta> take() &&;

private:
    std::shared_ptr<Lexicarta> m_copy;
    WordList m_words;
};

} // namespace lexi
