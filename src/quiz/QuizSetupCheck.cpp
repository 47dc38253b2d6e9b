#include "QuizSetupCheck.h"

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

QuizSetupVerdict failure(const QString &key, bool startEnabled)
{
    return {key, startEnabled};
}

} // namespace

std::array<qint64, 6> overdueCountsPerLevel(const Lexicarta &vocabulary)
{
    std::array<qint64, 6> counts{};
    const Date now = vocabulary.services().clock.now();
    for (const std::shared_ptr<QLXWord> &word : vocabulary.allWords()) {
        if (Lexicarta::isDue(*word, now))
            ++counts[word->effectiveLevel()];
    }
    return counts;
}

QuizSetupVerdict checkQuizSetup(const Lexicarta &vocabulary, const QuizSetupChoice &choice)
{
    if (std::none_of(choice.levelsOn.cbegin(), choice.levelsOn.cend(), [](bool on) { return on; })) {
        const qint64 due = std::accumulate(choice.overdueCounts.cbegin(), choice.overdueCounts.cend(), qint64(0));
        return failure(due > 0 ? u"nothingSelected"_s : u"noWordsOverDue"_s, false);
    }
    if (vocabulary.countAllWords() < 1)
        return failure(u"noWords"_s, false);
    qint64 wordsInLevels = 0;
    for (quint64 level = 0; level < 6; ++level) {
        if (choice.levelsOn[level])
            wordsInLevels += level == QLXWord::nativeLevel ? vocabulary.nativeWithoutDontAsk().size()
                                                           : vocabulary.wordsInLevel(level).size();
    }
    if (wordsInLevels == 0)
        return failure(u"noWordsInList"_s, false);
    if (choice.numberOfWords <= 0)
        return failure(u"zeroEntered"_s, true);
    if (!choice.tags.isEmpty() && vocabulary.wordsWithTags(choice.tags, choice.mustMatchAllTags).isEmpty())
        return failure(u"noWordsWithTags"_s, true);
    return {};
}

} // namespace lexi
