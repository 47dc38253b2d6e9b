#include "InputSources.h"

#include "X11InputSources.h"

namespace lexi {

std::unique_ptr<InputSources> InputSources::create(const QString &qtPlatformName)
{
    if (qtPlatformName == u"xcb") {
        if (auto x11 = X11InputSources::open())
            return x11;
    }
    return std::make_unique<NullInputSources>();
}

std::optional<QList<InputSource>> NullInputSources::inputSourceList(bool)
{
    return QList<InputSource>();
}

std::optional<InputSource> NullInputSources::currentKeyboardInputSource()
{
    return std::nullopt;
}

bool NullInputSources::selectInputSource(const QString &)
{
    return false;
}

} // namespace lexi
