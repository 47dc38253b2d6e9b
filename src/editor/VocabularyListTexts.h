#pragma once

#include <QString>

#include <optional>

using namespace Qt::StringLiterals;

namespace lexi {

// The texts of the vocabulary list that follow from its state: level headings and info texts,
// the status line and the help page shown over the table. Keys are in the "Vocabulary" table.
namespace VocabularyListTexts {

inline const QString table = u"Vocabulary"_s;

// The text of `key` in the table, in the user's language.
QString text(const QString &key);
// "1 duplicate word deleted", "2 duplicate words deleted".
QString duplicatesDeletedText(qsizetype count);

// From this many words of level 0 on, the unknown level warns instead of informing.
constexpr qsizetype unknownWarningThreshold = 31;

struct LevelTexts
{
    QString infoKey;
    QString headingKey;
    // The info text is the red warning.
    bool isWarning = false;
};

// The heading and info of a level (6: all words).
LevelTexts levelTexts(quint64 level, qsizetype level0Count);
LevelTexts synonymsTexts();
// The info text while searching for `term`.
QString searchInfoText(const QString &term);

struct StatusFigures
{
    bool isSearching = false;
    bool isSynonymsActive = false;
    quint64 level = 6;
    quint64 shown = 0;
    quint64 total = 0;
    quint64 native = 0;
    quint64 nativeWithoutDontAsk = 0;
    quint64 selectedRows = 0;
};

// The word-count line.
QString statusText(const StatusFigures &figures);
// The word-count line before the first refresh.
QString initialStatusText(quint64 level0Count, quint64 total);
// The synchronisation line: the vocabulary's sync status, or that a synchronisation runs.
QString syncStatusText(const std::optional<QString> &status);

enum class HelpPage { None, NoWordsAdded, NoWordsInLevel, NoWordsUnknown, SearchBackground };

// What is shown over the table: a page explaining why it is empty, the search background, or
// nothing.
HelpPage helpPage(quint64 total, quint64 shown, quint64 level, bool isSearching);

} // namespace VocabularyListTexts

} // namespace lexi
