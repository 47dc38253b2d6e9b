#pragma once

#include "model/Lexicarta.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace lexi {

// The number of due words of each level 0 to 5 (no tag filter, words not to be asked again left
// out), found in one pass over the words.
std::array<qint64, 6> overdueCountsPerLevel(const Lexicarta &vocabulary);

// What the set-up page offers for a quiz run.
struct QuizSetupChoice
{
    std::array<bool, 6> levelsOn{};
    // The due counts shown beside the level buttons.
    std::array<qint64, 6> overdueCounts{};
    qint64 numberOfWords = 0;
    // No tags: no filter.
    QStringList tags;
    bool mustMatchAllTags = true;
};

// The first fault of a choice, as the page shows it: the key of its text (table "Quiz") and
// whether the start button stays enabled. No key: the choice can start.
struct QuizSetupVerdict
{
    std::optional<QString> errorKey;
    bool isStartEnabled = true;

    bool isOK() const { return !errorKey; }
};

// Checks in this order: a level chosen ("nothingSelected" while words are due, else
// "noWordsOverDue"), words in the vocabulary ("noWords"), words in the chosen levels, due or not,
// native ones only when they may be asked ("noWordsInList"), a number above 0 ("zeroEntered"),
// words carrying the tags anywhere in the vocabulary ("noWordsWithTags"). The first three
// disable the start button; the last two leave it enabled.
QuizSetupVerdict checkQuizSetup(const Lexicarta &vocabulary, const QuizSetupChoice &choice);

} // namespace lexi
