#pragma once

#include "platform/dispatch/SerialQueue.h"

#include <QString>

#include <memory>
#include <optional>

class QLXLogMessage;
class QLXLogger;

// Turns a record into the text a logger writes.
class QLXLogFormatter
{
public:
    virtual ~QLXLogFormatter() = default;

    // Nothing means the logger drops the record.
    virtual std::optional<QString> formatLogMessage(const QLXLogMessage &message) = 0;
    virtual void didAddToLogger(QLXLogger &) {}
    virtual void willRemoveFromLogger(QLXLogger &) {}
};

// A destination of log records. The dispatcher calls a logger only on its logger queue, one call
// at a time; a logger never logs through the dispatcher itself.
class QLXLogger
{
public:
    virtual ~QLXLogger() = default;

    virtual void logMessage(const QLXLogMessage &message) = 0;
    virtual std::shared_ptr<QLXLogFormatter> logFormatter() = 0;
    virtual void setLogFormatter(std::shared_ptr<QLXLogFormatter> formatter) = 0;

    virtual void didAddLogger() {}
    virtual void willRemoveLogger() {}
    virtual void flush() {}
    // The queue the logger wants to be called on; nothing lets the dispatcher make one.
    virtual std::shared_ptr<lexi::dispatch::SerialQueue> loggerQueue() { return nullptr; }
    virtual QString loggerName() const { return {}; }
};
