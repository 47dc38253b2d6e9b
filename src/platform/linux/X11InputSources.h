#pragma once

#include "platform/ports/InputSources.h"

#include <QByteArray>
#include <QStringList>

#include <mutex>

struct _XDisplay;

namespace lexi {

// Keyboard input sources of an X11 session: the layout groups the session's XKB keymap holds
// (for example "us,de"). Selecting a source locks its group. X11 can only switch between the
// configured groups, so asking for all installed sources gives the same list.
//
// Safe from any thread: vocabularies loaded off the main thread look up their sources too, and
// the one display connection serves one call at a time.
class X11InputSources final : public InputSources
{
public:
    // Connects to `displayName` (the DISPLAY variable when empty). Nothing when no X server
    // answers or it has no XKB extension.
    static std::unique_ptr<X11InputSources> open(const QByteArray &displayName = {});
    ~X11InputSources() override;

    X11InputSources(const X11InputSources &) = delete;
    X11InputSources &operator=(const X11InputSources &) = delete;

    std::optional<QList<InputSource>> inputSourceList(bool includeAllInstalled) override;
    std::optional<InputSource> currentKeyboardInputSource() override;
    bool selectInputSource(const QString &identifier) override;

    // The layout of each group, by group index, from the session's XKB rules names: the layouts
    // "us,fr" with the variants ",bepo" give {"us", "fr(bepo)"}. X11 has at most four groups.
    static QStringList layoutsFromRulesNames(const QString &layouts, const QString &variants);

private:
    explicit X11InputSources(_XDisplay *display) : m_display(display) {}

    // Recursive: the current source and selecting one list the sources.
    std::recursive_mutex m_mutex;
    _XDisplay *m_display;
};

// The input sources for a Qt platform: XKB on "xcb" when an X server answers, else none.
std::unique_ptr<InputSources> inputSourcesForQtPlatform(const QString &qtPlatformName);

} // namespace lexi
