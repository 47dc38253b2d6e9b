#include "LoggingRequirement.h"

#include "platform/ports/Console.h"

#include <QtGlobal>

namespace lexi::logging {

bool require(bool condition, const char *failureText)
{
    if (!condition) {
        Console::writeLine(QString::fromUtf8(failureText));
        Q_ASSERT_X(false, "logging", failureText);
    }
    return condition;
}

} // namespace lexi::logging
