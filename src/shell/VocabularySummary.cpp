#include "VocabularySummary.h"

#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"

namespace lexi {

VocabularySummary VocabularySummary::of(const Lexicarta &vocabulary)
{
    VocabularySummary summary;
    summary.foreignLanguageName = vocabulary.foreignLanguageName();
    summary.yourLanguageName = vocabulary.yourLanguageName();
    summary.displayName = QLXStorageManager::displayNameForVocabulary(vocabulary);
    summary.numberOfWords = vocabulary.countAllWords();
    summary.yourFacultativeWords = vocabulary.yourFacultativeWords();
    summary.foreignFacultativeWords = vocabulary.foreignFacultativeWords();
    summary.yourTextInputSourceId = vocabulary.yourTextInputSourceId();
    summary.foreignTextInputSourceId = vocabulary.foreignTextInputSourceId();
    summary.isAutoSelectInputSource = vocabulary.isAutoSelectInputSource();
    return summary;
}

} // namespace lexi
