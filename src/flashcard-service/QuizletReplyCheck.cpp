#include "QuizletReplyCheck.h"

#include "QuizletJson.h"

#include "logging/QLXLogMacros.h"
#include "platform/ports/Console.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int qlxLogLevel = QLXLogLevelWarn;
}

namespace lexi::quizlet {

void checkSearchReply(const std::optional<QByteArray> &reply)
{
    // The record names where the service page's search logs it, as every installation's log has it.
    if (!decodeReply(reply))
        QLXLog::log(true, qlxLogLevel, QLXLogFlagWarn, 0, "QLXQuizletController", "search:", 64, QString(),
                    "Quizlet > Search > JSON is not valid");
}

void checkPageReply(const std::optional<QByteArray> &reply)
{
    if (!decodeReply(reply))
        Console::writeLine(u"Quizlet > Search > JSON is not valid"_s);
}

void checkSetDetailsReply(const std::optional<QByteArray> &reply)
{
    if (!decodeReply(reply)) {
        const QString text = QString::fromUtf8(reply.value_or(QByteArray()));
        Console::writeLine(u"Quizlet > Search > JSON is not valid: %1"_s.arg(text));
    }
}

} // namespace lexi::quizlet
