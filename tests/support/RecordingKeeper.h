#pragma once

#include "model/SyncRequests.h"
#include "model/VocabularyKeeper.h"

namespace lexi::test {

// Counts what the keeper asks of the synchronisation.
class RecordingSyncRequests : public SyncRequests
{
public:
    void markFileAsNeedsSync(const Lexicarta &) override { ++marks; }
    void syncWithDropbox() override { ++syncs; }

    int marks = 0;
    int syncs = 0;
};

// A keeper of the open vocabulary whose saves and synchronisation requests are counted; saves
// fail while `failsSaves` is set.
struct RecordingKeeper
{
    int saves = 0;
    const Lexicarta *lastSaved = nullptr;
    bool failsSaves = false;
    RecordingSyncRequests sync;
    VocabularyKeeper keeper{[this](const Lexicarta &vocabulary) {
                                ++saves;
                                lastSaved = &vocabulary;
                                return !failsSaves;
                            },
                            sync};
};

} // namespace lexi::test
