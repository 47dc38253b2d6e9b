#pragma once

#include "model/QLXWord.h"

#include <QString>

#include <memory>

namespace lexi {

// How a typed answer is judged in the typing and pop-up quizzes.
enum class AnswerVerdict { Correct, Misspelled, Wrong };

// The distance given to an answer that says nothing: far beyond a misspelling.
constexpr qint64 blankAnswerDistance = 8;

// An empty answer or a single space: wrong, and never taken for a synonym.
bool isBlankAnswer(const QString &answer);
// The edit distance between the expected text and the answer exactly as typed (nothing trimmed,
// case counts); blankAnswerDistance for a blank answer.
qint64 answerDistance(const QString &expected, const QString &answer);
// 0 is correct; 1 is misspelled unless the vocabulary switches that off; anything else is wrong.
AnswerVerdict verdictForDistance(qint64 distance, bool isMisspellRecognitionDisabled);

// The synonym of the word asked that the learner answered instead, if any: the first of
// `synonyms` whose expected side (the foreign word when `askedForeign`) equals `answer` exactly
// and that the run does not ask before or at `askIndex` (a synonym already asked is not taken
// again). Never for a blank answer.
std::shared_ptr<QLXWord> acceptedSynonym(const WordList &synonyms, const QString &answer, bool askedForeign,
                                         const WordList &wordsToAsk, qint64 askIndex);

// The expected side of `word` when the question asked for the foreign word, or for the own one.
inline const QString &expectedSide(const QLXWord &word, bool askedForeign)
{
    return askedForeign ? word.foreignWord() : word.yourWord();
}

} // namespace lexi
