#include "VocabularySnapshot.h"

#include "Lexicarta.h"

namespace lexi {

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
      version(vocabulary.version())
{
    // Copying a word waits mostly for its strings to come from memory; asking for the words and
    // their strings a few words ahead lets those waits overlap.
    constexpr qsizetype wordsAhead = 16;
    constexpr qsizetype stringsAhead = 8;
    for (size_t level = 0; level < levelCount; ++level) {
        const WordList words = vocabulary.wordsInLevel(level);
        levels[level].reserve(size_t(words.size()));
        for (qsizetype i = 0; i < words.size(); ++i) {
            if (i + wordsAhead < words.size())
                __builtin_prefetch(words[i + wordsAhead].get());
            if (i + stringsAhead < words.size()) {
                const QLXWord &ahead = *words[i + stringsAhead];
                __builtin_prefetch(ahead.yourWord().constData(), 1);
                __builtin_prefetch(ahead.foreignWord().constData(), 1);
                __builtin_prefetch(ahead.tags().constData(), 1);
            }
            levels[level].emplace_back(*words[i]);
        }
    }
}

} // namespace lexi
