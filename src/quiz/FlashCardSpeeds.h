#pragma once

#include <QString>

#include <chrono>

namespace lexi {

// How long the flash cards' auto-play shows each question and each answer, by the position of
// the flip-speed slider.
struct FlipSpeed
{
    // The slider's label, in the string table "Learn".
    QString labelKey;
    std::chrono::seconds questionShown;
    std::chrono::seconds answerShown;

    // 0 "off" (no pause: auto-play is not offered), 1 "slow" 5 s and 3 s, 2 "normal" 3 s and 2 s,
    // 3 and any other value "fast" 2 s and 1 s.
    static FlipSpeed forLevel(int level);

    static constexpr int offLevel = 0;
    static constexpr int fastestLevel = 3;
    // Where the slider stands until the learner moves it.
    static constexpr int defaultLevel = 2;
};

} // namespace lexi
