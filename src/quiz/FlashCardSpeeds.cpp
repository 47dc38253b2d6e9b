#include "FlashCardSpeeds.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace lexi {

FlipSpeed FlipSpeed::forLevel(int level)
{
    switch (level) {
    case 0:
        return {u"off"_s, 0s, 0s};
    case 1:
        return {u"slow"_s, 5s, 3s};
    case 2:
        return {u"normal"_s, 3s, 2s};
    default:
        return {u"fast"_s, 2s, 1s};
    }
}

} // namespace lexi
