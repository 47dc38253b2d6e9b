#pragma once

#include "platform/values/Date.h"

#include <QString>

#include <optional>

using namespace Qt::StringLiterals;

namespace lexi {

// The extension of the own vocabulary files.
inline const QString vocabularyFileExtension = u".qlxv"_s;

// A name that can stand for a vocabulary file directly inside a folder, the vocabularies folder
// or the top of the cloud folder: one visible path component (no "/", no leading ".", so neither
// "." nor "..") whose first ".qlxv", in any case, ends it. "a.qlxv.b.qlxv" is none.
bool isVocabularyFileName(const QString &name);

// A copy that the cloud client made of a file changed on two machines at once: a vocabulary file
// name whose last parenthesised part, just before the extension, is a number ("Name (1).qlxv")
// or says "conflicted copy" in any case ("Name (Tom's conflicted copy).qlxv"). Other
// parenthesised names, such as "French - English (UK).qlxv", are vocabularies like any other.
bool isConflictedCopy(const QString &name);

// The file name for the vocabulary named `name`; nothing when that would be no vocabulary file
// name or would be taken for a conflicted copy, so that it cannot lead out of its folder or be
// moved away at the next listing.
std::optional<QString> vocabularyFileNameForName(const QString &name);

// The name without its ".qlxv" (any case); other names unchanged.
QString withoutVocabularyExtension(const QString &fileName);

// A path in `backupFolder` at which nothing stands yet, for a backup of the vocabulary file
// `fileName` made at `time`: "French - English.qlxv" becomes
// "French - English-2015-05-03-14-05-09.qlxv" (the time stamp in local time), with "-2", "-3", ...
// before the extension while that is taken.
QString newBackupPath(const QString &backupFolder, const QString &fileName, Date time);

} // namespace lexi
