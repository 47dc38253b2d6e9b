#pragma once

namespace lexi::dispatch {

// An animation the main thread is playing, such as the quiz card's flip, for as long as the
// object lives. Background work that can wait a moment, such as a save, holds back while any plays:
// the scheduler lets a busy thread finish its slice of a few milliseconds before a thread that
// wakes on its processor runs, and each frame wakes the main thread and the display server in
// turn, so a frame would come late behind every such slice.
class ForegroundAnimation
{
public:
    ForegroundAnimation();
    ~ForegroundAnimation();
    ForegroundAnimation(const ForegroundAnimation &) = delete;
    ForegroundAnimation &operator=(const ForegroundAnimation &) = delete;

    // Whether an animation plays now; any thread may ask.
    static bool isAnyPlaying();
};

} // namespace lexi::dispatch
