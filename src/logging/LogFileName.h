#pragma once

#include "platform/values/Date.h"

#include <QString>

#include <optional>

namespace lexi {

// The name of a log file: the application name, a blank, the minute it was made in GMT and
// ".log", as in "Lexicarta 2014-06-04 10-20.log". The second and later file of one minute carry
// a blank and a counter from 2 on before the extension: "Lexicarta 2014-06-04 10-20 2.log".
struct LogFileName
{
    QString applicationName;
    // The time the name stands for; the name keeps its minute only.
    Date minute;
    // 1 for the name without a counter.
    unsigned counter = 1;

    QString toString() const;

    // Nothing unless `fileName` has exactly that shape with a real date and time; the application
    // name is whatever stands before the date.
    static std::optional<LogFileName> parse(const QString &fileName);
};

} // namespace lexi
