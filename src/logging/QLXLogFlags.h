#pragma once

// A record carries exactly one flag; a logger or a source file admits it when the flag ANDed with
// its level mask is not zero.
inline constexpr int QLXLogFlagError = 1;
inline constexpr int QLXLogFlagWarn = 2;
inline constexpr int QLXLogFlagInfo = 4;
inline constexpr int QLXLogFlagDebug = 8;
inline constexpr int QLXLogFlagVerbose = 16;

inline constexpr int QLXLogLevelOff = 0;
inline constexpr int QLXLogLevelError = QLXLogFlagError;
inline constexpr int QLXLogLevelWarn = QLXLogLevelError | QLXLogFlagWarn;
inline constexpr int QLXLogLevelInfo = QLXLogLevelWarn | QLXLogFlagInfo;
inline constexpr int QLXLogLevelDebug = QLXLogLevelInfo | QLXLogFlagDebug;
inline constexpr int QLXLogLevelVerbose = QLXLogLevelDebug | QLXLogFlagVerbose;
