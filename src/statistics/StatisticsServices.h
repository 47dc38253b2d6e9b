#pragma once

#include "platform/dispatch/Scheduler.h"
#include "platform/ports/Clock.h"

class QLXColorTheme;

namespace lexi {

class VocabularyKeeper;

// What the statistics tab takes from the program around it; all of it must outlive the tab.
struct StatisticsServices
{
    // Holds the vocabulary shown.
    VocabularyKeeper &keeper;
    const Clock &clock;
    dispatch::Scheduler &scheduler;
    // The side bar's background.
    QLXColorTheme &theme;
};

} // namespace lexi
