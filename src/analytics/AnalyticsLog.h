#pragma once

#include "platform/ports/Console.h"
#include "platform/values/Format.h"

namespace lexi {

// The console messages of the analytics classes. They are written only while the class-wide
// switch is on; it starts off and the program never turns it on. Failures of the event store
// are the exception: they are always written.
class AnalyticsLog
{
public:
    static bool isEnabled();
    static void setEnabled(bool enabled);

    template<typename... Arguments>
    static void write(QStringView format, const Arguments &...arguments)
    {
        if (isEnabled())
            Console::writeLine(lexi::format(format, arguments...));
    }

    template<typename... Arguments>
    static void writeAlways(QStringView format, const Arguments &...arguments)
    {
        Console::writeLine(lexi::format(format, arguments...));
    }
};

} // namespace lexi
