#pragma once

#include "logging/QLXAbstractLogger.h"
#include "logging/QLXLogMessage.h"

#include <QStringList>

#include <functional>
#include <mutex>

using namespace Qt::StringLiterals;

// A logger (header only, for programs that link the logging library) that keeps the texts it is given; `onMessage` runs inside logMessage().
class RecordingLogger : public QLXAbstractLogger
{
public:
    explicit RecordingLogger(QString name = u"test.recorder"_s) : QLXAbstractLogger(std::move(name)) {}

    void logMessage(const QLXLogMessage &message) override
    {
        if (onMessage)
            onMessage(message);
        std::lock_guard lock(m_mutex);
        m_texts.append(message.logMsg());
    }
    void flush() override
    {
        std::lock_guard lock(m_mutex);
        ++m_flushes;
    }

    QStringList texts() const
    {
        std::lock_guard lock(m_mutex);
        return m_texts;
    }
    int flushes() const
    {
        std::lock_guard lock(m_mutex);
        return m_flushes;
    }

    std::function<void(const QLXLogMessage &)> onMessage;

private:
    mutable std::mutex m_mutex;
    QStringList m_texts;
    int m_flushes = 0;
};
