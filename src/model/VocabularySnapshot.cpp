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
    : levels(vocabulary.storedWordLists()),
      language(vocabulary.language()),
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
}

} // namespace lexi
