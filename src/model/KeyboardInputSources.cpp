#include "KeyboardInputSources.h"

#include "logging/QLXLogMacros.h"

namespace {
constexpr int qlxLogLevel = QLXLogLevelInfo;
}

namespace lexi {

QList<InputSource> allInputSources(InputSources &inputSources, bool includeAllInstalled)
{
    QList<InputSource> selectable;
    const auto sources = inputSources.inputSourceList(includeAllInstalled);
    if (!sources) {
        QLXLogError("AppDelegate > allInputSources > NO SOURCES");
        return selectable;
    }
    for (const InputSource &source : *sources) {
        if (source.isSelectCapable)
            selectable.append(source);
    }
    return selectable;
}

QStringList namesForInputSources(const QList<InputSource> &sources)
{
    QStringList names;
    for (const InputSource &source : sources) {
        if (source.isSelectCapable)
            names.append(source.localizedName);
    }
    return names;
}

} // namespace lexi
