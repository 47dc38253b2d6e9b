#pragma once

#include <QString>

#include <functional>

namespace lexi {

// Single plain lines straight to standard error, for the few reports that bypass the logging
// dispatcher (and for the dispatcher's own troubles). Safe from any thread.
class Console
{
public:
    using Sink = std::function<void(const QString &line)>;

    static void writeLine(const QString &line);

    // Sends lines to `sink` instead of standard error; an empty sink restores standard error.
    // Returns the sink that was set before.
    static Sink setSink(Sink sink);
};

} // namespace lexi
