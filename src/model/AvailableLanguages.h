#pragma once

#include "QLXFile.h"

#include <QList>
#include <QStringList>

namespace lexi {

class ApplicationFolders;

// The vocabulary files in the vocabularies folder, in the order the folder lists them (callers
// sort): the files whose names are vocabulary file names (see isVocabularyFileName). Copies
// that a file-sync client made of a conflicting file ("... (1).qlxv", "... (Tom's conflicted
// copy).qlxv", see isConflictedCopy) are no languages: they are not listed, and stay where they
// are until the synchronisation merges their words into their vocabulary.
QList<QLXFile> loadAllAvailableLanguages(const ApplicationFolders &folders);
QStringList loadAllAvailableLanguagePaths(const ApplicationFolders &folders);

} // namespace lexi
