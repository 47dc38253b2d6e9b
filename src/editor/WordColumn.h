#pragma once

#include <QString>

namespace lexi {

// The columns of the word table, each sorting by one property of the words.
enum class WordColumn { YourWord, ForeignWord, Comment, Tags, LastAsked };

// The column's identifier: the name of the word property it shows.
QString columnIdentifier(WordColumn column);

} // namespace lexi
