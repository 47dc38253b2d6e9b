#include "QLXAbstractLogger.h"

#include "LoggingRequirement.h"
#include "QLXLog.h"

#include "platform/dispatch/SerialQueue.h"

using lexi::dispatch::Block;

QLXAbstractLogger::QLXAbstractLogger(QString loggerName)
    : m_loggerName(std::move(loggerName))
    , m_loggerQueue(QLXLog::makeLoggerQueue(m_loggerName))
{
}

QLXAbstractLogger::~QLXAbstractLogger() = default;

void QLXAbstractLogger::logMessage(const QLXLogMessage &) {}

std::shared_ptr<QLXLogFormatter> QLXAbstractLogger::logFormatter()
{
    return readProperty(m_formatter);
}

void QLXAbstractLogger::setLogFormatter(std::shared_ptr<QLXLogFormatter> formatter)
{
    changeProperty([this, formatter = std::move(formatter)] {
        if (formatter == m_formatter)
            return;
        if (m_formatter)
            m_formatter->willRemoveFromLogger(*this);
        m_formatter = formatter;
        if (m_formatter)
            m_formatter->didAddToLogger(*this);
    });
}

std::shared_ptr<lexi::dispatch::SerialQueue> QLXAbstractLogger::loggerQueue()
{
    return m_loggerQueue;
}

QString QLXAbstractLogger::loggerName() const
{
    return m_loggerName;
}

bool QLXAbstractLogger::isOnGlobalLoggingQueue() const
{
    return QLXLog::loggingQueue().isCurrent();
}

bool QLXAbstractLogger::isOnInternalLoggerQueue() const
{
    return m_loggerQueue->isCurrent();
}

void QLXAbstractLogger::syncOnLoggerQueue(const Block &block)
{
    if (!lexi::logging::require(!isOnInternalLoggerQueue(), lexi::logging::directAccessFailure)) {
        block();
        return;
    }
    if (!lexi::logging::require(!isOnGlobalLoggingQueue(), lexi::logging::coreArchitectureFailure)) {
        m_loggerQueue->sync(block);
        return;
    }
    // Another logger's queue cannot wait for the logging queue, which may be waiting for it.
    if (QLXLog::isInsideLogging()) {
        m_loggerQueue->sync(block);
        return;
    }
    QLXLog::loggingQueue().sync([&] { m_loggerQueue->sync(block); });
}

void QLXAbstractLogger::changeProperty(Block change)
{
    lexi::logging::require(!isOnInternalLoggerQueue(), lexi::logging::directAccessFailure);
    changeState(std::move(change));
}

void QLXAbstractLogger::changeState(Block change)
{
    if (isOnInternalLoggerQueue()) {
        change();
        return;
    }
    // The logger may be gone by the time the change comes round; the hop keeps it until then.
    std::weak_ptr<QLXAbstractLogger> weakSelf = weak_from_this();
    if (!lexi::logging::require(!weakSelf.expired(), lexi::logging::sharedOwnershipFailure))
        return;
    auto applyOnLoggerQueue = [weakSelf, change = std::move(change)] {
        if (auto self = weakSelf.lock())
            self->m_loggerQueue->async([self, change] { change(); });
    };
    if (!lexi::logging::require(!isOnGlobalLoggingQueue(), lexi::logging::coreArchitectureFailure)) {
        applyOnLoggerQueue();
        return;
    }
    QLXLog::loggingQueue().async(std::move(applyOnLoggerQueue));
}
