#include "AnswerJudging.h"

#include "QLXQuizInterface.h"

using namespace Qt::StringLiterals;

namespace lexi {

bool isBlankAnswer(const QString &answer)
{
    return answer.isEmpty() || answer == u" "_s;
}

qint64 answerDistance(const QString &expected, const QString &answer)
{
    return isBlankAnswer(answer) ? blankAnswerDistance : QLXQuizInterface::distanceBetween(expected, answer);
}

AnswerVerdict verdictForDistance(qint64 distance, bool isMisspellRecognitionDisabled)
{
    if (distance == 0)
        return AnswerVerdict::Correct;
    if (distance == 1 && !isMisspellRecognitionDisabled)
        return AnswerVerdict::Misspelled;
    return AnswerVerdict::Wrong;
}

std::shared_ptr<QLXWord> acceptedSynonym(const WordList &synonyms, const QString &answer, bool askedForeign,
                                         const WordList &wordsToAsk, qint64 askIndex)
{
    if (isBlankAnswer(answer))
        return nullptr;
    for (const std::shared_ptr<QLXWord> &synonym : synonyms) {
        if (!synonym || expectedSide(*synonym, askedForeign) != answer)
            continue;
        const qsizetype position = wordsToAsk.indexOf(synonym);
        if (position < 0 || position > askIndex)
            return synonym;
    }
    return nullptr;
}

} // namespace lexi
