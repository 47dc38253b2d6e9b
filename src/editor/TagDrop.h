#pragma once

#include <QString>

#include <optional>

class QLXWord;

namespace lexi {

// A tag dragged from the tag cloud onto a row of the word table.
namespace TagDrop {

// Taken only onto a row (not between rows), and only as text that is not blank: a word never
// gets an empty tag.
bool accepts(bool isOnRow, const std::optional<QString> &text);

// Gives `word` the tag and stamps it with `modificationID`.
void apply(QLXWord &word, const QString &tag, qint64 modificationID);

} // namespace TagDrop

} // namespace lexi
