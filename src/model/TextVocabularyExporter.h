#pragma once

#include <QByteArray>
#include <QString>

using namespace Qt::StringLiterals;

class Lexicarta;

namespace lexi {

class WorkProgress;

// Lays a vocabulary out as text for spreadsheets and other trainers: the header line, then for
// each word a line break and its fields. Sides and comments are kept on one line: their line
// breaks are written as blanks.
// - Comma form: both sides in double quotes with the double quotes inside them removed, then
//   optionally the comment in double quotes (its quotes kept) and the difficulty in double quotes.
// - Tab form: the sides with their tabs written as blanks, then optionally the comment as it is
//   and the difficulty, all separated by tabs.
// The difficulty is the digit 5 for level 0 down to 0 for level 5 and above.
class TextVocabularyExporter
{
public:
    // The first line of every export, whatever its options.
    static inline const QString headerLine = u"#your word, #foreign word, #comment, #difficulty"_s;

    // The text of every word of the vocabulary in its order, as UTF-16 with a byte-order mark;
    // `direction` puts your word first, else the foreign word. Tells `progress`, when there is
    // one, how many of the words are written.
    static QByteArray fileContents(const Lexicarta &vocabulary, bool usingComma, bool includeComment,
                                   bool includeDifficulty, bool direction, WorkProgress *progress = nullptr);
};

} // namespace lexi
