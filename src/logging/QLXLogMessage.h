#pragma once

#include "platform/values/Date.h"

#include <QString>

#include <optional>
#include <string>

// One log record: the finished text with where and when it was made. Records are immutable and
// shared between the loggers that handle them.
class QLXLogMessage
{
public:
    enum Option {
        // The record owns a copy of the file name; otherwise it borrows the caller's, which must
        // live as long as the program (a __FILE__ literal does).
        CopyFile = 1,
        // The same for the function name.
        CopyFunction = 2,
    };

    // The thread and queue a record was made on.
    struct Origin
    {
        quint32 machThreadID = 0;
        std::string queueLabel;
        QString threadName;

        static Origin current();
    };

    QLXLogMessage(QString logMsg, int level, int flag, int context, const char *file, const char *function,
                  int line, QString tag, int options, std::optional<lexi::Date> timestamp = std::nullopt,
                  Origin origin = Origin::current());
    QLXLogMessage(const QLXLogMessage &other);
    QLXLogMessage &operator=(const QLXLogMessage &) = delete;

    int logLevel() const { return m_logLevel; }
    int logFlag() const { return m_logFlag; }
    int logContext() const { return m_logContext; }
    const QString &logMsg() const { return m_logMsg; }
    lexi::Date timestamp() const { return m_timestamp; }
    // The time stamp in whole milliseconds since 1970, as log lines write it: the fraction
    // dropped, so that .9996 s is still in its second.
    qint64 timestampMilliseconds() const;
    const char *file() const { return m_file; }
    const char *function() const { return m_function; }
    int lineNumber() const { return m_lineNumber; }
    quint32 machThreadID() const { return m_origin.machThreadID; }
    const std::string &queueLabel() const { return m_origin.queueLabel; }
    const QString &threadName() const { return m_origin.threadName; }
    // Empty when the record has no tag.
    const QString &tag() const { return m_tag; }
    int options() const { return m_options; }

    // The thread as lowercase hexadecimal without leading zeros.
    QString threadID() const;
    // The file's name without folder and extension.
    std::optional<QString> fileName() const;
    std::optional<QString> methodName() const;

private:
    void takeNames(const char *file, const char *function);

    int m_logLevel;
    int m_logFlag;
    int m_logContext;
    QString m_logMsg;
    lexi::Date m_timestamp;
    const char *m_file = nullptr;
    const char *m_function = nullptr;
    std::string m_ownedFile;
    std::string m_ownedFunction;
    int m_lineNumber;
    Origin m_origin;
    QString m_tag;
    int m_options;
};

// The last component of `path` up to its last ".", as in "/src/app/Main.txt" -> "Main"; a "."
// before the last "/" is not an extension. Nothing for no path.
std::optional<QString> QLXBaseNameOfPath(const char *path);
