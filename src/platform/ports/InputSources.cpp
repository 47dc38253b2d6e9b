#include "InputSources.h"

namespace lexi {

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
