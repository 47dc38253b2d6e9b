#include "QLXLogMessage.h"

#include "platform/dispatch/SerialQueue.h"
#include "platform/ports/Clock.h"

#include <cmath>
#include <cstring>

#include <pthread.h>
#include <unistd.h>

QLXLogMessage::Origin QLXLogMessage::Origin::current()
{
    char name[16] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    return {quint32(gettid()), lexi::dispatch::SerialQueue::currentLabel(), QString::fromUtf8(name)};
}

QLXLogMessage::QLXLogMessage(QString logMsg, int level, int flag, int context, const char *file,
                             const char *function, int line, QString tag, int options,
                             std::optional<lexi::Date> timestamp, Origin origin)
    : m_logLevel(level)
    , m_logFlag(flag)
    , m_logContext(context)
    , m_logMsg(std::move(logMsg))
    , m_timestamp(timestamp.value_or(lexi::Clock::system().now()))
    , m_lineNumber(line)
    , m_origin(std::move(origin))
    , m_tag(std::move(tag))
    , m_options(options)
{
    takeNames(file, function);
}

QLXLogMessage::QLXLogMessage(const QLXLogMessage &other)
    : m_logLevel(other.m_logLevel)
    , m_logFlag(other.m_logFlag)
    , m_logContext(other.m_logContext)
    , m_logMsg(other.m_logMsg)
    , m_timestamp(other.m_timestamp)
    , m_lineNumber(other.m_lineNumber)
    , m_origin(other.m_origin)
    , m_tag(other.m_tag)
    , m_options(other.m_options)
{
    takeNames(other.m_file, other.m_function);
}

void QLXLogMessage::takeNames(const char *file, const char *function)
{
    if (file && (m_options & CopyFile)) {
        m_ownedFile = file;
        m_file = m_ownedFile.c_str();
    } else {
        m_file = file;
    }
    if (function && (m_options & CopyFunction)) {
        m_ownedFunction = function;
        m_function = m_ownedFunction.c_str();
    } else {
        m_function = function;
    }
}

QString QLXLogMessage::threadID() const
{
    return QString::number(m_origin.machThreadID, 16);
}

std::optional<QString> QLXLogMessage::fileName() const
{
    return QLXBaseNameOfPath(m_file);
}

std::optional<QString> QLXLogMessage::methodName() const
{
    if (!m_function)
        return std::nullopt;
    return QString::fromUtf8(m_function);
}

std::optional<QString> QLXBaseNameOfPath(const char *path)
{
    if (!path)
        return std::nullopt;
    const char *start = std::strrchr(path, '/');
    start = start ? start + 1 : path;
    const char *dot = std::strrchr(start, '.');
    const size_t length = dot ? size_t(dot - start) : std::strlen(start);
    return QString::fromUtf8(start, qsizetype(length));
}

qint64 QLXLogMessage::timestampMilliseconds() const
{
    // A microsecond's allowance: a double holds .123 s as .12299999…, which is still .123.
    return qint64(std::floor(m_timestamp.secondsSince1970() * 1000.0 + 1e-3));
}
