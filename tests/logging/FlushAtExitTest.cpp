#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray standardErrorOfProbe(const QStringList &arguments)
{
    QProcess probe;
    probe.start(QString::fromUtf8(LOG_AT_EXIT_PROBE), arguments);
    EXPECT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.exitCode(), 0);
    return probe.readAllStandardError();
}

TEST(FlushAtExitTest, RecordsQueuedBeforeTheEndAreWritten)
{
    for (const QStringList &arguments : {QStringList(), QStringList{u"quit"_s}}) {
        const QByteArray output = standardErrorOfProbe(arguments);
        EXPECT_EQ(output.count('\n'), 100) << output.toStdString();
        EXPECT_TRUE(output.contains("] probe > record 99\n"));
    }
}

} // namespace
