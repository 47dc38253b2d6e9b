#include "logging/QLXLogFlags.h"
#include "logging/QLXLogMessage.h"
#include "logging/QLXTTYLogger.h"

#include <QDateTime>
#include <QTemporaryFile>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The tests run with TZ=UTC, so local time is UTC.
lexi::Date at(int hours, int minutes, int seconds, int milliseconds)
{
    return lexi::Date::fromDateTime(
        QDateTime(QDate(2014, 6, 4), QTime(hours, minutes, seconds, milliseconds), QTimeZone::utc()));
}

QLXLogMessage record(const QString &text, int flag = QLXLogFlagInfo, lexi::Date time = at(14, 6, 34, 123),
                     int context = 0, const QString &tag = {})
{
    return QLXLogMessage(text, 31, flag, context, __FILE__, "test", __LINE__, tag, 0, time,
                         {0x1a03, "queue", u"thread"_s});
}

class QLXTTYLoggerTest : public testing::Test
{
protected:
    std::shared_ptr<QLXTTYLogger> makeLogger(QLXTTYColorMode mode = QLXTTYColorMode::None)
    {
        EXPECT_TRUE(m_output.open());
        return std::make_shared<QLXTTYLogger>(
            QLXTTYLogger::Terminal{int(m_output.handle()), u"Lexicarta"_s, 512, mode});
    }

    QByteArray written()
    {
        m_output.seek(0);
        return m_output.readAll();
    }

private:
    QTemporaryFile m_output;
};

TEST_F(QLXTTYLoggerTest, WritesThePlainLine)
{
    auto logger = makeLogger();
    logger->logMessage(record(u"abc"_s));
    logger->logMessage(record(u"ends with newline\n"_s, QLXLogFlagError, at(23, 59, 59, 999)));
    logger->logMessage(record(u"on the second"_s, QLXLogFlagWarn, at(0, 0, 1, 0)));
    // The fraction of the millisecond is dropped, never rounded into the next second.
    const lexi::Date lateInTheSecond =
        lexi::Date::fromSecondsSince1970(at(14, 6, 34, 999).secondsSince1970() + 0.0006);
    logger->logMessage(record(u"late"_s, QLXLogFlagInfo, lateInTheSecond));
    EXPECT_EQ(written(), QByteArray("2014-06-04 14:06:34:123 Lexicarta[512:1a03] abc\n"
                                    "2014-06-04 23:59:59:999 Lexicarta[512:1a03] ends with newline\n"
                                    "2014-06-04 00:00:01:000 Lexicarta[512:1a03] on the second\n"
                                    "2014-06-04 14:06:34:999 Lexicarta[512:1a03] late\n"));
}

TEST_F(QLXTTYLoggerTest, LongAndNonAsciiTextsArriveWhole)
{
    auto logger = makeLogger();
    const QString longText(5000, u'\u00e9');
    logger->logMessage(record(longText));
    const QByteArray line = written();
    EXPECT_TRUE(line.endsWith(longText.toUtf8() + '\n'));
    EXPECT_EQ(line.count('\n'), 1);
}

class BracketFormatter final : public QLXLogFormatter
{
public:
    std::optional<QString> formatLogMessage(const QLXLogMessage &message) override
    {
        return u'<' + message.logMsg() + u'>';
    }
};

TEST_F(QLXTTYLoggerTest, AFormattedRecordIsWrittenWithoutThePrefix)
{
    auto logger = makeLogger();
    logger->setLogFormatter(std::make_shared<BracketFormatter>());
    ASSERT_TRUE(logger->logFormatter());
    logger->loggerQueue()->sync([&] { logger->logMessage(record(u"abc"_s)); });
    EXPECT_EQ(written(), QByteArray("<abc>\n"));
}

TEST_F(QLXTTYLoggerTest, DefaultColoursMarkErrorsAndWarnings)
{
    auto logger = makeLogger(QLXTTYColorMode::Ansi16);
    logger->setColorsEnabled(true);
    ASSERT_TRUE(logger->colorsEnabled());
    logger->logMessage(record(u"e"_s, QLXLogFlagError));
    logger->logMessage(record(u"i"_s, QLXLogFlagInfo));
    EXPECT_EQ(written(), QByteArray("\x1b[31m2014-06-04 14:06:34:123 Lexicarta[512:1a03] e\n\x1b[0m"
                                    "2014-06-04 14:06:34:123 Lexicarta[512:1a03] i\n"));
}

TEST_F(QLXTTYLoggerTest, AnExactContextRuleBeatsTheLatestAnyContextRule)
{
    auto logger = makeLogger(QLXTTYColorMode::Ansi16);
    const QLXTTYColor red{194, 54, 33}, green{37, 188, 36}, blue{73, 46, 225}, white{233, 235, 235};
    logger->setForegroundColor(red, std::nullopt, QLXLogFlagError);
    logger->setForegroundColor(green, std::nullopt, QLXLogLevelWarn);
    logger->setForegroundColor(blue, white, QLXLogFlagError, 7);
    logger->setForegroundColor(white, std::nullopt, u"tagged"_s);
    logger->setColorsEnabled(true);
    // clearColorsForFlag() without a context removes only context-0 rules.
    logger->clearColorsForFlag(QLXLogFlagError);
    ASSERT_TRUE(logger->colorsEnabled());

    logger->logMessage(record(u"any"_s, QLXLogFlagError, at(1, 0, 0, 0), 0));
    logger->logMessage(record(u"exact"_s, QLXLogFlagError, at(1, 0, 0, 0), 7));
    logger->logMessage(record(u"tag"_s, QLXLogFlagError, at(1, 0, 0, 0), 7, u"tagged"_s));
    EXPECT_EQ(written(), QByteArray("\x1b[32m2014-06-04 01:00:00:000 Lexicarta[512:1a03] any\n\x1b[0m"
                                    "\x1b[34m\x1b[1;47m2014-06-04 01:00:00:000 Lexicarta[512:1a03] exact\n\x1b[0m"
                                    "\x1b[1;37m2014-06-04 01:00:00:000 Lexicarta[512:1a03] tag\n\x1b[0m"));
}

TEST(QLXTTYColorTest, TheTerminalChoosesTheColourTable)
{
    EXPECT_EQ(colorModeFromEnvironment("", "xterm-256color"), QLXTTYColorMode::Ansi256);
    EXPECT_EQ(colorModeFromEnvironment("", "xterm-COLOR"), QLXTTYColorMode::Ansi16);
    EXPECT_EQ(colorModeFromEnvironment("", "vt100"), QLXTTYColorMode::None);
    EXPECT_EQ(colorModeFromEnvironment("YES", "vt100"), QLXTTYColorMode::XcodeColors);
    EXPECT_EQ(QLXTTYColorTable::forMode(QLXTTYColorMode::Ansi16).colors.size(), 16u);
    EXPECT_EQ(QLXTTYColorTable::forMode(QLXTTYColorMode::Ansi256).foregroundCodes.size(), 240u);
    EXPECT_TRUE(QLXTTYColorTable::forMode(QLXTTYColorMode::None).colors.empty());
}

TEST(QLXTTYColorTest, ProfilesCarryTheCodesOfTheirMode)
{
    const QLXTTYLoggerColorProfile ansi({QLXTTYColor{255, 0, 0}}, {QLXTTYColor{0, 0, 0}}, 1, 0,
                                        QLXTTYColorMode::Ansi256);
    EXPECT_EQ(ansi.fgCode, QByteArray("\x1b[38;5;196m"));
    EXPECT_EQ(ansi.bgCode, QByteArray("\x1b[48;5;16m"));
    EXPECT_EQ(ansi.resetCode, QByteArray("\x1b[0m"));

    const QLXTTYLoggerColorProfile xcode({QLXTTYColor{214, 57, 30}}, std::nullopt, 1, 0, QLXTTYColorMode::XcodeColors);
    EXPECT_EQ(xcode.fgCode, QByteArray("\x1b[fg214,57,30;"));
    EXPECT_TRUE(xcode.bgCode.isEmpty());
    EXPECT_EQ(xcode.resetCode, QByteArray("\x1b[;"));

    const QLXTTYLoggerColorProfile none({QLXTTYColor{1, 2, 3}}, std::nullopt, 1, 0, QLXTTYColorMode::None);
    EXPECT_TRUE(none.fgCode.isEmpty() && none.resetCode.isEmpty());
}

} // namespace
