#pragma once

namespace lexi {

// Gives the keyboard focus back to the window that had it before one of ours took it: a window
// that comes up over other programs (the pop-up quiz) remembers which window was active when it
// showed and, when it goes away again, asks the window manager to activate that one.
class FocusReturn
{
public:
    virtual ~FocusReturn() = default;

    // Remembers the window of whichever program is active now; none when the session does not
    // say.
    virtual void rememberFocusedWindow() = 0;
    // Asks the window manager to activate the remembered window again; false when none is
    // remembered. The window manager may still refuse, or the window may be gone.
    virtual bool returnFocus() = 0;
};

// Where the session moves the focus by itself once our window goes (Wayland's compositors), or
// has none to move (offscreen, tests).
class NullFocusReturn final : public FocusReturn
{
public:
    void rememberFocusedWindow() override {}
    bool returnFocus() override { return false; }
};

} // namespace lexi
