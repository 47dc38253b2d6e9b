#pragma once

#include "QLXFile.h"

#include <QList>
#include <QStringList>

namespace lexi {

class ApplicationFolders;

// The vocabulary files in the vocabularies folder, in the order the folder lists them (callers
// sort). A file qualifies when its name ends in ".qlxv" (any case). Copies that the cloud
// client made of a conflicting file, named "... (1).qlxv" and the like, are deleted instead of
// listed. Hidden files and folders are never vocabularies.
QList<QLXFile> loadAllAvailableLanguages(const ApplicationFolders &folders);
QStringList loadAllAvailableLanguagePaths(const ApplicationFolders &folders);

} // namespace lexi
