#pragma once

#include <QString>

#include <functional>

namespace lexi {

// Lets a test act inside a move of writeFileAtomically() or moveFileIfUnchanged(): the hook runs
// on the moving thread while it holds the lock that keeps this process's moves one at a time,
// after the check of what stands at the path it is given and right before the rename. The
// program sets none.
using FileMoveHook = std::function<void(const QString &checkedPath)>;
void setFileMoveHook(FileMoveHook hook);

// Whether a move could take the lock at once, that is no other is between its check and its
// rename. Not to be asked from inside the hook's own thread.
bool fileMoveCanStartNow();

} // namespace lexi
