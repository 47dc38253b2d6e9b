#include "ForegroundAnimation.h"

#include <atomic>

namespace lexi::dispatch {

namespace {

std::atomic<int> playingCount{0};

} // namespace

ForegroundAnimation::ForegroundAnimation()
{
    playingCount.fetch_add(1, std::memory_order_relaxed);
}

ForegroundAnimation::~ForegroundAnimation()
{
    playingCount.fetch_sub(1, std::memory_order_relaxed);
}

bool ForegroundAnimation::isAnyPlaying()
{
    return playingCount.load(std::memory_order_relaxed) > 0;
}

} // namespace lexi::dispatch
