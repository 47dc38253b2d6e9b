#include "QLXASLLogger.h"

#include "QLXLogFlags.h"
#include "QLXLogMessage.h"

#include <syslog.h>

using namespace Qt::StringLiterals;

namespace {

class SyslogSink final : public SystemLogSink
{
public:
    SyslogSink() { openlog(nullptr, 0, LOG_USER); }

    void write(int priority, const QByteArray &utf8Text) override
    {
        syslog(priority, "%s", utf8Text.constData());
    }
};

} // namespace

std::shared_ptr<QLXASLLogger> QLXASLLogger::sharedInstance()
{
    static const auto instance = std::make_shared<QLXASLLogger>(std::make_shared<SyslogSink>());
    return instance;
}

QLXASLLogger::QLXASLLogger(std::shared_ptr<SystemLogSink> sink)
    : QLXAbstractLogger(u"cocoa.lumberjack.aslLogger"_s)
    , m_sink(std::move(sink))
{
}

int QLXASLLogger::systemLogLevel(int flag)
{
    switch (flag) {
    case QLXLogFlagError:
        return 1;
    case QLXLogFlagWarn:
        return 2;
    case QLXLogFlagInfo:
        return 3;
    case QLXLogFlagDebug:
        return 4;
    default:
        return 5;
    }
}

void QLXASLLogger::logMessage(const QLXLogMessage &message)
{
    if (message.tag() == ignoreLogMessageTag)
        return;
    std::optional<QString> text = message.logMsg();
    if (m_formatter)
        text = m_formatter->formatLogMessage(message);
    if (!text)
        return;
    m_sink->write(systemLogLevel(message.logFlag()), text->toUtf8());
}
