#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Lexicarta;

namespace lexi {

// What the languages page shows and edits of a vocabulary, without its words: small enough to
// keep for every vocabulary file once read.
struct VocabularySummary
{
    QString foreignLanguageName;
    QString yourLanguageName;
    // "foreign - your".
    QString displayName;
    qint64 numberOfWords = 0;
    QStringList yourFacultativeWords;
    QStringList foreignFacultativeWords;
    std::optional<QString> yourTextInputSourceId;
    std::optional<QString> foreignTextInputSourceId;
    bool isAutoSelectInputSource = false;

    static VocabularySummary of(const Lexicarta &vocabulary);

    friend bool operator==(const VocabularySummary &, const VocabularySummary &) = default;
};

} // namespace lexi
