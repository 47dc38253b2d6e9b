#pragma once

#include "QLXAbstractLogger.h"

#include <QByteArray>

using namespace Qt::StringLiterals;

// Where the system-log logger writes: syslog(3) in the program, a recorder in tests.
class SystemLogSink
{
public:
    virtual ~SystemLogSink() = default;
    // `priority` is a syslog level, 0 (emergency) to 7 (debug).
    virtual void write(int priority, const QByteArray &utf8Text) = 0;
};

// Writes every record to the system log (journald reads it).
class QLXASLLogger final : public QLXAbstractLogger
{
public:
    // A record with this tag is not written to the system log.
    static inline const QString ignoreLogMessageTag = u"QLXASLLoggerIgnoreLogMessageTag"_s;

    static std::shared_ptr<QLXASLLogger> sharedInstance();
    explicit QLXASLLogger(std::shared_ptr<SystemLogSink> sink);

    void logMessage(const QLXLogMessage &message) override;

    // The system-log level of a record flag: error 1, warn 2, info 3, debug 4, anything else 5.
    static int systemLogLevel(int flag);

private:
    std::shared_ptr<SystemLogSink> m_sink;
};
