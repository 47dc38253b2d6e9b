#pragma once

class Lexicarta;

namespace lexi {

// What the vocabulary's keeper asks of the synchronisation: remember that a vocabulary's file
// changed here and must be uploaded, and start a run (throttled by the synchronisation itself).
class SyncRequests
{
public:
    virtual ~SyncRequests() = default;

    virtual void markFileAsNeedsSync(const Lexicarta &vocabulary) = 0;
    virtual void syncWithDropbox() = 0;
};

} // namespace lexi
