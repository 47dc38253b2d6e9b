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

// A copy that a file-sync client made of a file changed on two machines at once: a vocabulary
// file name that ends, just before the extension, in
// - ".sync-conflict-<date>-<time>-<device>" (Syncthing: "Name.sync-conflict-20260105-143000-ABCDEFG.qlxv"),
// - a parenthesised part that says "conflicted copy" in any case (the cloud service, Nextcloud
//   and ownCloud: "Name (Tom's conflicted copy 2015-05-03).qlxv", "Name (conflicted copy
//   2026-01-05 143000).qlxv"), or begins with "conflict" followed by no letter (Unison:
//   "Name (conflict_on_2026-01-05).qlxv", "Name (conflict #1_on_2026-01-05).qlxv"),
// - or a parenthesised number ("Name (2).qlxv").
// Other parenthesised names, such as "French - English (UK).qlxv", are vocabularies like any other.
bool isConflictedCopy(const QString &name);

// For a conflicted copy, the file name of the vocabulary it is a copy of: the name without the
// copy's mark ("Name.qlxv"), which need not be a vocabulary file name itself ("(2).qlxv" gives
// ".qlxv"). Nothing for any other name.
std::optional<QString> conflictedCopyOriginal(const QString &name);

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
