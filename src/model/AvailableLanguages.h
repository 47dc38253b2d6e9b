#pragma once

#include "QLXFile.h"

#include <QList>
#include <QStringList>

namespace lexi {

class ApplicationFolders;
class Clock;

// The vocabulary files in the vocabularies folder, in the order the folder lists them (callers
// sort): the files whose names are vocabulary file names (see isVocabularyFileName). Copies
// that the cloud client made of a conflicting file ("... (1).qlxv", "... (Tom's conflicted
// copy).qlxv") are moved into the backups folder instead of listed, where the learner can still
// take words from them.
QList<QLXFile> loadAllAvailableLanguages(const ApplicationFolders &folders, const Clock &clock);
QStringList loadAllAvailableLanguagePaths(const ApplicationFolders &folders, const Clock &clock);

} // namespace lexi
