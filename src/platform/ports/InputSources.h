#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace lexi {

// One keyboard input source: a layout the learner can type with.
struct InputSource
{
    // Stable identifier, stored in vocabulary files. Identifiers written by other systems are
    // kept as they are even when no source here has them.
    QString identifier;
    QString localizedName;
    bool isSelectCapable = true;

    friend bool operator==(const InputSource &, const InputSource &) = default;
};

// The keyboard input sources of the desktop session.
class InputSources
{
public:
    virtual ~InputSources() = default;

    // The sources the platform lists, in its order, or nothing when it can give no list.
    // `includeAllInstalled` asks for installed sources that are not enabled as well.
    virtual std::optional<QList<InputSource>> inputSourceList(bool includeAllInstalled) = 0;
    virtual std::optional<InputSource> currentKeyboardInputSource() = 0;
    // Makes the source with `identifier` the current one; false when there is no such source.
    virtual bool selectInputSource(const QString &identifier) = 0;
};

// A session without switchable keyboard sources (Wayland without a backend, offscreen, tests).
class NullInputSources final : public InputSources
{
public:
    std::optional<QList<InputSource>> inputSourceList(bool includeAllInstalled) override;
    std::optional<InputSource> currentKeyboardInputSource() override;
    bool selectInputSource(const QString &identifier) override;
};

} // namespace lexi
