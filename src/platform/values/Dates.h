#pragma once

#include "Date.h"
#include "platform/ports/Clock.h"

#include <QString>

#include <optional>

namespace lexi {

// Today at 00:00:00 local time.
Date todaysDate(const Clock &clock = Clock::system());

// The time between `date` and now in words of the default string table, from "never" (no date)
// and "1 Minute" to "%ld Years". A date in the future is worded like one as far in the past.
QString timeSinceDate(const std::optional<Date> &date, const Clock &clock = Clock::system());

} // namespace lexi
