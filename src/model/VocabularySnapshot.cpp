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
    for (size_t level = 0; level < levelCount; ++level) {
        const WordList words = vocabulary.wordsInLevel(level);
        levels[level].reserve(size_t(words.size()));
        for (const std::shared_ptr<QLXWord> &word : words)
            levels[level].emplace_back(*word);
    }
}

} // namespace lexi
