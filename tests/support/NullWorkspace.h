#pragma once

#include "platform/ports/Workspace.h"

namespace lexi::test {

// A desktop that opens nothing, for programs that run without anybody looking: benchmarks, fuzz
// targets and the helper processes of tests. Unlike RecordingWorkspace it keeps nothing, so that
// millions of calls cost no memory.
class NullWorkspace final : public Workspace
{
public:
    void openFolder(const QString &) override {}
    void openWebAddress(const QUrl &) override {}
    bool openStorePage(const QUrl &) override { return false; }
};

} // namespace lexi::test
