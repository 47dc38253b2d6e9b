#pragma once

#include "QLXLogger.h"

#include "platform/dispatch/Block.h"

#include <memory>

// The base of the loggers: a serial logger queue labelled with the logger's name and an optional
// formatter. Code running on the logger queue (logMessage() and what it calls) reads the fields
// directly; everyone else goes through the accessors, which reach the fields through the logging
// queue and then the logger queue, so a change takes effect between two records.
class QLXAbstractLogger : public QLXLogger, public std::enable_shared_from_this<QLXAbstractLogger>
{
public:
    explicit QLXAbstractLogger(QString loggerName);
    ~QLXAbstractLogger() override;

    void logMessage(const QLXLogMessage &message) override;
    std::shared_ptr<QLXLogFormatter> logFormatter() override;
    void setLogFormatter(std::shared_ptr<QLXLogFormatter> formatter) override;
    std::shared_ptr<lexi::dispatch::SerialQueue> loggerQueue() override;
    QString loggerName() const override;

    bool isOnGlobalLoggingQueue() const;
    bool isOnInternalLoggerQueue() const;

protected:
    // Reads a field for a caller off the logger queue.
    template<typename T>
    T readProperty(const T &field)
    {
        T value;
        syncOnLoggerQueue([&] { value = field; });
        return value;
    }
    // Changes a property for a caller off the logger queue; the change runs later on it.
    void changeProperty(lexi::dispatch::Block change);
    // Changes state at once when called on the logger queue, else later on it (the colour rules).
    void changeState(lexi::dispatch::Block change);

    // Formatter of the record's text, read on the logger queue.
    std::shared_ptr<QLXLogFormatter> m_formatter;

private:
    // Runs `block` on the logger queue, reached through the logging queue, and waits for it.
    // From the logger queue itself it runs at once, from the logging queue it skips that hop:
    // both are reported as misuse, but never wait for themselves.
    void syncOnLoggerQueue(const lexi::dispatch::Block &block);

    const QString m_loggerName;
    std::shared_ptr<lexi::dispatch::SerialQueue> m_loggerQueue;
};
