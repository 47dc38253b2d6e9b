#pragma once

#include <QString>

class QLXQuizletSearchResults;

namespace lexi {

struct QuizletImportCounts;

// The flash-card page's texts, from the string table "Quizlet".
namespace quizlet {

QString text(const QString &key);

// What the results area says when there are none: "nothingSelected" when all three search fields
// are empty as typed, else "noResults".
QString noResultsText(const QString &keywords, const QString &author, const QString &term);
// "numberOfFoundLabel" with the numbers of the page's first and last set and the sets found.
QString foundText(const QLXQuizletSearchResults &results);
// How many words an import added and how many were there already.
QString importCountsText(const QuizletImportCounts &counts);

} // namespace quizlet
} // namespace lexi
