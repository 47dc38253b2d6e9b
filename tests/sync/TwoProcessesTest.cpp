#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A machine of the learner's: a home of its own for data and settings.
class Machine
{
public:
    explicit Machine(const QString &cloudFolder) : m_cloudFolder(cloudFolder) {}

    // Starts Lexicarta, adds the words and synchronises; the words it has afterwards.
    QStringList syncAdding(const QStringList &words)
    {
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u"data"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
        probe.setProcessEnvironment(environment);
        probe.start(QString::fromUtf8(SYNC_PROBE), QStringList{m_cloudFolder} + words);
        if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
            return {u"<failed: "_s + QString::fromLocal8Bit(probe.readAllStandardError()) + u'>'};
        return QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir m_home;
    QString m_cloudFolder;
};

TEST(TwoProcessesTest, TwoMachinesSynchroniseThroughOneFolder)
{
    QTemporaryDir cloud;
    Machine laptop(cloud.path());
    Machine desktop(cloud.path());

    EXPECT_EQ(laptop.syncAdding({u"1:chat"_s}), QStringList{u"chat"_s});
    EXPECT_EQ(desktop.syncAdding({}), QStringList{u"chat"_s});
    // Words added on both before either synchronises again.
    EXPECT_EQ(desktop.syncAdding({u"2:chien"_s}), (QStringList{u"chat"_s, u"chien"_s}));
    EXPECT_EQ(laptop.syncAdding({u"3:oiseau"_s}), (QStringList{u"chat"_s, u"chien"_s, u"oiseau"_s}));
    EXPECT_EQ(desktop.syncAdding({}), (QStringList{u"chat"_s, u"chien"_s, u"oiseau"_s}));
    EXPECT_TRUE(QDir(cloud.path()).exists(u"French - English.qlxv"_s));
}

} // namespace
