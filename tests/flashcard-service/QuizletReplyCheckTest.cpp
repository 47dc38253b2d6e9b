#include "flashcard-service/QuizletReplyCheck.h"

#include "support/ConsoleCapture.h"
#include "support/RecordingLogger.h"

#include "logging/QLXLog.h"

#include <gtest/gtest.h>

#include <mutex>

using namespace Qt::StringLiterals;

namespace {

// The records logged while it lives, as "flag text", and where each was logged, as "file function
// line".
class LogCapture
{
public:
    LogCapture()
    {
        m_logger->onMessage = [this](const QLXLogMessage &message) {
            std::lock_guard lock(m_mutex);
            m_records.append(QString::number(message.logFlag()) + u' ' + message.logMsg());
            m_places.append(u"%1 %2 %3"_s.arg(QString::fromUtf8(message.file()), QString::fromUtf8(message.function()))
                                .arg(message.lineNumber()));
        };
        QLXLog::addLogger(m_logger);
    }
    ~LogCapture()
    {
        QLXLog::removeLogger(m_logger);
        QLXLog::flushLog();
    }

    QStringList records() const
    {
        QLXLog::flushLog();
        std::lock_guard lock(m_mutex);
        return m_records;
    }
    QStringList places() const
    {
        QLXLog::flushLog();
        std::lock_guard lock(m_mutex);
        return m_places;
    }

private:
    std::shared_ptr<RecordingLogger> m_logger = std::make_shared<RecordingLogger>();
    mutable std::mutex m_mutex;
    QStringList m_records;
    QStringList m_places;
};

TEST(QuizletReplyCheckTest, ValidJsonPassesSilently)
{
    LogCapture log;
    lexi::test::ConsoleCapture console;
    for (const QByteArray &reply : {QByteArray("{}"), QByteArray("[]"), QByteArray(R"({"sets": [1]})")}) {
        lexi::quizlet::checkSearchReply(reply);
        lexi::quizlet::checkPageReply(reply);
        lexi::quizlet::checkSetDetailsReply(reply);
    }
    EXPECT_EQ(log.records(), QStringList());
    EXPECT_EQ(console.lines(), QStringList());
}

TEST(QuizletReplyCheckTest, MissingOrNonJsonRepliesAreReported)
{
    struct Case
    {
        std::optional<QByteArray> reply;
        QString quoted;
    };
    const Case cases[] = {
        {std::nullopt, QString()},
        {QByteArray(), QString()},
        {QByteArray("<html>Größe</html>"), u"<html>Größe</html>"_s},
        {QByteArray("{\"sets\": ["), u"{\"sets\": ["_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.quoted.toStdString());
        LogCapture log;
        lexi::test::ConsoleCapture console;
        lexi::quizlet::checkSearchReply(c.reply);
        // The search warns through the log (flag 2), the other two write to the console.
        EXPECT_EQ(log.records(), QStringList{u"2 Quizlet > Search > JSON is not valid"_s});
        EXPECT_EQ(log.places(), QStringList{u"QLXQuizletController search: 64"_s});
        EXPECT_EQ(console.lines(), QStringList());
        lexi::quizlet::checkPageReply(c.reply);
        lexi::quizlet::checkSetDetailsReply(c.reply);
        EXPECT_EQ(console.lines(), (QStringList{u"Quizlet > Search > JSON is not valid"_s,
                                                u"Quizlet > Search > JSON is not valid: "_s + c.quoted}));
        EXPECT_EQ(log.records(), QStringList{u"2 Quizlet > Search > JSON is not valid"_s});
    }
}

} // namespace
