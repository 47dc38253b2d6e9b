#include "QuizletImport.h"

#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"

#include <QHash>

#include <algorithm>

namespace lexi {

std::optional<QuizletImportCounts> importQuizletSet(const QLXQuizletSet &set, bool invertDirection,
                                                    VocabularyKeeper &keeper)
{
    const std::shared_ptr<Lexicarta> vocabulary = keeper.vocabulary();
    if (!vocabulary)
        return std::nullopt;

    // The set's words, each once, indexed by their foreign word, so that one pass over the
    // vocabulary finds those it holds already.
    QuizletImportCounts counts;
    WordList candidates;
    candidates.reserve(set.terms().size());
    QHash<QString, QList<qsizetype>> candidatesByForeignWord;
    candidatesByForeignWord.reserve(set.terms().size());
    for (const QLXQuizletTerm &term : set.terms()) {
        auto word = invertDirection ? std::make_shared<QLXWord>(term.foreignLangWord(), term.yourLangWord())
                                    : std::make_shared<QLXWord>(term.yourLangWord(), term.foreignLangWord());
        QList<qsizetype> &sameForeignWord = candidatesByForeignWord[word->foreignWord()];
        const bool repeated = std::any_of(sameForeignWord.cbegin(), sameForeignWord.cend(), [&](qsizetype index) {
            return candidates[index]->yourWord() == word->yourWord();
        });
        if (repeated) {
            ++counts.alreadyThere;
            continue;
        }
        sameForeignWord.append(candidates.size());
        candidates.append(std::move(word));
    }
    QList<bool> isKnown(candidates.size(), false);
    for (const std::shared_ptr<QLXWord> &word : vocabulary->allWords()) {
        const auto found = candidatesByForeignWord.constFind(word->foreignWord());
        if (found == candidatesByForeignWord.cend())
            continue;
        for (const qsizetype index : *found) {
            if (candidates[index]->yourWord() == word->yourWord())
                isKnown[index] = true;
        }
    }

    // The new words share one copy of their tag.
    QLXWord tagged;
    tagged.addTag(set.title());
    WordList kept;
    kept.reserve(candidates.size());
    for (qsizetype index = 0; index < candidates.size(); ++index) {
        if (isKnown[index]) {
            ++counts.alreadyThere;
            continue;
        }
        candidates[index]->setTagsOf(tagged);
        kept.append(candidates[index]);
    }
    if (!kept.isEmpty()) {
        const qint64 first = vocabulary->batchImportIdForRange(kept.size());
        for (qsizetype index = 0; index < kept.size(); ++index)
            kept[index]->setCreationID(first + index);
        vocabulary->batchAddWords(kept);
    }
    counts.added = kept.size();
    keeper.recordChange();
    return counts;
}

} // namespace lexi
