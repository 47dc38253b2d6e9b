#pragma once

#include "QLXLog.h"

// Each source file that logs names its level mask before using these macros, for example
//
//     namespace { constexpr int qlxLogLevel = QLXLogLevelInfo; }
//
// A call whose flag the mask excludes builds no text and evaluates none of its arguments.
// Errors are logged synchronously, everything else asynchronously.

#define QLX_LOG_MAYBE(isAsynchronous, levelMask, flag, format, ...)                                          \
    do {                                                                                                    \
        if constexpr (((levelMask) & (flag)) != 0)                                                          \
            ::QLXLog::log(isAsynchronous, levelMask, flag, 0, __FILE__, __func__, __LINE__, QString(),       \
                          format __VA_OPT__(, ) __VA_ARGS__);                                               \
    } while (false)

#define QLXLogError(format, ...) QLX_LOG_MAYBE(false, qlxLogLevel, QLXLogFlagError, format __VA_OPT__(, ) __VA_ARGS__)
#define QLXLogWarn(format, ...) QLX_LOG_MAYBE(true, qlxLogLevel, QLXLogFlagWarn, format __VA_OPT__(, ) __VA_ARGS__)
#define QLXLogInfo(format, ...) QLX_LOG_MAYBE(true, qlxLogLevel, QLXLogFlagInfo, format __VA_OPT__(, ) __VA_ARGS__)
#define QLXLogDebug(format, ...) QLX_LOG_MAYBE(true, qlxLogLevel, QLXLogFlagDebug, format __VA_OPT__(, ) __VA_ARGS__)
#define QLXLogVerbose(format, ...) QLX_LOG_MAYBE(true, qlxLogLevel, QLXLogFlagVerbose, format __VA_OPT__(, ) __VA_ARGS__)
