#pragma once

#include "platform/values/Date.h"

#include <chrono>

namespace lexi {

// The one source of "now". Code that needs the time takes a Clock so that tests can set it.
class Clock
{
public:
    using Duration = std::chrono::steady_clock::duration;

    virtual ~Clock() = default;

    // Wall-clock time: what is stored in files and shown to the learner.
    virtual Date now() const = 0;
    // Time on a clock that never jumps, for throttles and intervals.
    virtual Duration monotonicNow() const = 0;

    // The real clocks of the machine.
    static const Clock &system();
};

} // namespace lexi
