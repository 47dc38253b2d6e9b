#pragma once

#include "platform/ports/InputSources.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace lexi::test {

// Keyboard sources chosen by the test: the platform lists `sources` (or gives no list at all while
// `listUnavailable` is set) and has `current` as the current one. Selecting a source always works,
// makes it current (named after its identifier when it is not listed) and is recorded.
class ScriptedInputSources final : public InputSources
{
public:
    std::optional<QList<InputSource>> inputSourceList(bool includeAllInstalled) override
    {
        includedAllInstalled = includeAllInstalled;
        if (listUnavailable)
            return std::nullopt;
        return sources;
    }
    std::optional<InputSource> currentKeyboardInputSource() override { return current; }
    bool selectInputSource(const QString &identifier) override
    {
        selected.append(identifier);
        const auto listed = std::find_if(sources.cbegin(), sources.cend(), [&](const InputSource &source) {
            return source.identifier == identifier;
        });
        current = listed != sources.cend() ? *listed : InputSource{identifier, identifier};
        return true;
    }

    QList<InputSource> sources;
    bool listUnavailable = false;
    std::optional<InputSource> current;
    // Whether the last list asked for included the installed sources that are not enabled.
    bool includedAllInstalled = false;
    QStringList selected;
};

} // namespace lexi::test
