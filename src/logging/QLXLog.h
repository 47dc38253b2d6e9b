#pragma once

#include "QLXLogFlags.h"
#include "QLXLogMessage.h"
#include "QLXLogger.h"

#include "platform/values/Format.h"

#include <memory>
#include <vector>

// The logging dispatcher. Every record goes through one serial logging queue to each registered
// logger whose mask admits its flag; loggers work on queues of their own, in parallel, and see
// records in the order they were queued. At most 1000 records wait or are in delivery at a time;
// beyond that callers wait instead of records being dropped. The dispatcher lives as long as the
// process and flushes its loggers when the application quits or the process exits.
//
// Code logs through the macros of QLXLogMacros.h rather than calling log() itself.
class QLXLog
{
public:
    QLXLog() = delete;

    // Builds the text from a printf-style `format` (see lexi::formatString) and queues a record.
    // An asynchronous call returns at once; a synchronous one after every logger has handled the
    // record. Called from the logging queue or from inside a logger, the text goes straight to
    // standard error instead, since waiting there would wait for itself. No format: nothing.
    template<typename... Arguments>
    static void log(bool asynchronous, int level, int flag, int context, const char *file, const char *function,
                    int line, const QString &tag, const char *format, const Arguments &...arguments)
    {
        if (!format)
            return;
        logText(asynchronous, level, flag, context, file, function, line, tag,
                lexi::format(QString::fromUtf8(format), arguments...));
    }

    static void logText(bool asynchronous, int level, int flag, int context, const char *file, const char *function,
                        int line, const QString &tag, const QString &text);
    static void log(bool asynchronous, std::shared_ptr<const QLXLogMessage> message);

    // Registers `logger` with the mask 31 (everything) or `logLevel`. The same logger added twice
    // gets each record twice. Takes effect asynchronously, in order with the records queued.
    static void addLogger(std::shared_ptr<QLXLogger> logger, int logLevel = QLXLogLevelVerbose);
    // Removes the first registration of `logger`.
    static void removeLogger(const std::shared_ptr<QLXLogger> &logger);
    static void removeAllLoggers();
    static std::vector<std::shared_ptr<QLXLogger>> allLoggers();

    // Returns once every record queued before has been delivered and every logger has flushed.
    static void flushLog();

    static lexi::dispatch::SerialQueue &loggingQueue();
    // A queue for a logger. Everything that runs on it counts as inside logging, so that code
    // there which logs writes to standard error instead of waiting for itself.
    static std::shared_ptr<lexi::dispatch::SerialQueue> makeLoggerQueue(const QString &label);
    // Whether the caller runs on the logging queue or on a logger's queue.
    static bool isInsideLogging();
};
