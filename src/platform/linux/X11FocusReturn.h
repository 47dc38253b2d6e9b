#pragma once

#include "platform/ports/FocusReturn.h"

#include <QByteArray>
#include <QString>

#include <memory>

struct _XDisplay;

namespace lexi {

// The focus of an X11 session, as the window manager publishes it: the root window's
// _NET_ACTIVE_WINDOW. Giving it back is the request a pager or task bar sends on the learner's
// behalf (source indication 2), which window managers grant even to another program's window.
// It uses a display connection of its own; main thread only.
class X11FocusReturn final : public FocusReturn
{
public:
    // Connects to `displayName` (the DISPLAY variable when empty). Nothing when no X server
    // answers.
    static std::unique_ptr<X11FocusReturn> open(const QByteArray &displayName = {});
    ~X11FocusReturn() override;

    X11FocusReturn(const X11FocusReturn &) = delete;
    X11FocusReturn &operator=(const X11FocusReturn &) = delete;

    void rememberFocusedWindow() override;
    bool returnFocus() override;

    // The window remembered, by its X11 identifier; 0 for none.
    unsigned long rememberedWindow() const { return m_remembered; }
    // The active window now, as the window manager says; 0 for none (or no such window manager).
    unsigned long activeWindow() const;

private:
    explicit X11FocusReturn(_XDisplay *display);

    _XDisplay *m_display;
    unsigned long m_activeWindowAtom;
    unsigned long m_remembered = 0;
};

// The focus of the session a Qt platform runs in: X11 on "xcb" when an X server answers, else
// none to give back.
std::unique_ptr<FocusReturn> focusReturnForQtPlatform(const QString &qtPlatformName);

} // namespace lexi
