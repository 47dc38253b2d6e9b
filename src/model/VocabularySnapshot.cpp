#include "VocabularySnapshot.h"

#include "Lexicarta.h"

#include "platform/dispatch/ConcurrentSlices.h"

#include <algorithm>

namespace lexi {

namespace {

void shareWords(const WordList &words, qsizetype from, qsizetype to,
                std::vector<std::shared_ptr<const StoredWord>> &stored)
{
    constexpr qsizetype wordsAhead = 16;
    for (qsizetype i = from; i < to; ++i) {
        if (i + wordsAhead < to)
            __builtin_prefetch(words[i + wordsAhead].get());
        stored[size_t(i)] = words[i]->storedForm();
    }
}

} // namespace

StoredWord::StoredWord(const QLXWord &word)
    : yourWord(word.yourWord()),
      foreignWord(word.foreignWord()),
      comment(word.comment()),
      tags(word.tags()),
      lastAsked(word.lastAsked()),
      creationID(word.creationID()),
      modificationID(word.modificationID()),
      fallenDownCounter(word.fallenDownCounter()),
      level(word.level()),
      dontAskAgain(word.dontAskAgain())
{
}

VocabularySnapshot::VocabularySnapshot(const Lexicarta &vocabulary)
    : language(vocabulary.language()),
      foreignLanguageName(vocabulary.foreignLanguageName()),
      yourLanguageName(vocabulary.yourLanguageName()),
      yourFacultativeWords(vocabulary.yourFacultativeWords()),
      foreignFacultativeWords(vocabulary.foreignFacultativeWords()),
      dailySnapshots(vocabulary.statistics().dailySnapshots()),
      yourTextInputSourceName(vocabulary.yourTextInputSourceId().value_or(QString())),
      foreignTextInputSourceName(vocabulary.foreignTextInputSourceId().value_or(QString())),
      isAutoSelectInputSource(vocabulary.isAutoSelectInputSource()),
      isDisableMisspellRecognition(vocabulary.isDisableMisspellRecognition()),
      isDirty(vocabulary.needsSync()),
      version(vocabulary.version()),
      lineage(vocabulary.lineage())
{
    // Taking a word waits mostly for it to come from memory: a large vocabulary is taken in
    // slices at once, and each slice asks for the words a few words ahead, so that those waits
    // overlap.
    std::array<WordList, levelCount> words;
    std::array<qsizetype, levelCount + 1> firstOfLevel{};
    for (size_t level = 0; level < levelCount; ++level) {
        words[level] = vocabulary.wordsInLevel(level);
        levels[level].resize(size_t(words[level].size()));
        firstOfLevel[level + 1] = firstOfLevel[level] + words[level].size();
    }
    dispatch::forSlices(firstOfLevel.back(), [&](qsizetype begin, qsizetype end) {
        for (size_t level = 0; level < levelCount; ++level) {
            const qsizetype from = std::max(begin, firstOfLevel[level]) - firstOfLevel[level];
            const qsizetype to = std::min(end, firstOfLevel[level + 1]) - firstOfLevel[level];
            shareWords(words[level], from, to, levels[level]);
        }
    });
}

} // namespace lexi
