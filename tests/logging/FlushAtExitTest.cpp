#include <QProcess>

#include <gtest/gtest.h>

namespace {

QByteArray standardErrorOfProbe(const QStringList &arguments)
{
    QProcess probe;
    probe.start(QStringLiteral(LOG_AT_EXIT_PROBE), arguments);
    EXPECT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.exitCode(), 0);
    return probe.readAllStandardError();
}

TEST(FlushAtExitTest, RecordsQueuedBeforeTheEndAreWritten)
{
    for (const QStringList &arguments : {QStringList(), QStringList{QStringLiteral("quit")}}) {
        const QByteArray output = standardErrorOfProbe(arguments);
        EXPECT_EQ(output.count('\n'), 100) << output.toStdString();
        EXPECT_TRUE(output.contains("] probe > record 99\n"));
    }
}

} // namespace
