#include "QLXLogFileFormatterDefault.h"

#include "QLXLogMessage.h"

#include "platform/values/Format.h"

using namespace Qt::StringLiterals;

std::optional<QString> QLXLogFileFormatterDefault::formatLogMessage(const QLXLogMessage &message)
{
    const QString time = message.timestamp().toDateTime().toString(u"yyyy/MM/dd HH:mm:ss:zzz"_s);
    return lexi::format(u"%@  %@"_s, time, message.logMsg());
}
