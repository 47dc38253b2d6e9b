#pragma once

#include "QLXLogger.h"

// Puts the record's local time in front of its text:
//
//     2014/06/04 14:06:34:123  the text
class QLXLogFileFormatterDefault final : public QLXLogFormatter
{
public:
    std::optional<QString> formatLogMessage(const QLXLogMessage &message) override;
};
