#include "shell/InstallationClaim.h"
#include "shell/SingleInstance.h"

#include "support/ConsoleCapture.h"
#include "support/RecordingAlertPresenter.h"

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <list>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

using Claim = SingleInstance::Claim;
using lexi::StartClaim;

TEST(SingleInstanceTest, ALaterStartHandsOverToTheRunningOne)
{
    QTemporaryDir folder;
    SingleInstance running(folder.path(), folder.path());
    ASSERT_EQ(running.claim(), Claim::claimed);
    QSignalSpy reopened(&running, &SingleInstance::reopenRequested);

    SingleInstance later(folder.path(), folder.path());
    lexi::test::RecordingAlertPresenter alerts;
    EXPECT_EQ(lexi::claimInstallation(later, alerts, 2s), StartClaim::handedOver);
    EXPECT_TRUE(reopened.wait(2000));
    EXPECT_EQ(reopened.size(), 1);
    EXPECT_TRUE(alerts.alerts.isEmpty());

    // Another installation runs on its own.
    QTemporaryDir otherFolder;
    SingleInstance other(otherFolder.path(), folder.path());
    EXPECT_EQ(other.claim(), Claim::claimed);
}

TEST(SingleInstanceTest, NobodyAnswersWhenNoneRuns)
{
    QTemporaryDir folder;
    {
        SingleInstance ended(folder.path(), folder.path());
        ASSERT_EQ(ended.claim(), Claim::claimed);
    }
    SingleInstance later(folder.path(), folder.path());
    EXPECT_FALSE(later.handOver(100ms));
    EXPECT_EQ(later.claim(), Claim::claimed);
}

// Another process of the learner's can make the running program hold neither memory nor
// descriptors: each connection may send one short line within the deadline and is closed then, and
// only a few are served at once.
TEST(SingleInstanceTest, ConnectionsAreClosedAfterOneShortLineOrAtTheirDeadline)
{
    QTemporaryDir folder;
    SingleInstance running(folder.path(), folder.path(), 1s);
    ASSERT_EQ(running.claim(), Claim::claimed);
    QSignalSpy reopened(&running, &SingleInstance::reopenRequested);
    const auto connected = [&] {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(running.serverName());
        EXPECT_TRUE(socket->waitForConnected(2000));
        return socket;
    };
    const auto closedByTheProgram = [](QLocalSocket &socket) {
        return socket.state() == QLocalSocket::UnconnectedState
            || QTest::qWaitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 5000);
    };

    const std::unique_ptr<QLocalSocket> endless = connected();
    endless->write(QByteArray(1 << 20, 'x'));
    const std::unique_ptr<QLocalSocket> silent = connected();
    const std::unique_ptr<QLocalSocket> longLine = connected();
    longLine->write(QByteArray(100, 'y') + "\n");
    EXPECT_TRUE(closedByTheProgram(*endless));
    EXPECT_TRUE(closedByTheProgram(*silent));
    EXPECT_TRUE(closedByTheProgram(*longLine));

    std::vector<std::unique_ptr<QLocalSocket>> crowd;
    for (int index = 0; index < 9; ++index)
        crowd.push_back(connected());
    EXPECT_TRUE(closedByTheProgram(*crowd.back()));
    EXPECT_EQ(crowd.front()->state(), QLocalSocket::ConnectedState) << "the ninth went first, at once";
    for (const auto &socket : crowd)
        EXPECT_TRUE(closedByTheProgram(*socket));
    EXPECT_EQ(reopened.size(), 0);

    // A start that asks as it should is still heard, and its connection closed too.
    const std::unique_ptr<QLocalSocket> start = connected();
    start->write("reopen\n");
    EXPECT_TRUE(reopened.wait(2000));
    EXPECT_TRUE(closedByTheProgram(*start));
}

// A start that cannot go on never ends without a word: it says why in an alert and on standard
// error. A lock of another computer (a home folder on the network, a crash there) is taken over
// only when the learner agrees.
TEST(SingleInstanceTest, AStartThatCannotGoOnSaysWhy)
{
    QTemporaryDir folder;
    // This process holds the lock but does not listen: a program that hangs.
    QLockFile hanging(folder.filePath(u".running"_s));
    ASSERT_TRUE(hanging.tryLock(0));
    // Another computer's lock, and one that cannot be read.
    QTemporaryDir elsewhere;
    QFile otherHost(elsewhere.filePath(u".running"_s));
    ASSERT_TRUE(otherHost.open(QIODevice::WriteOnly));
    otherHost.write("4242\nlexicarta\nother-host\n");
    otherHost.close();
    QTemporaryDir damaged;
    QFile garbage(damaged.filePath(u".running"_s));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("\xff\xfe");
    garbage.close();

    struct Case
    {
        const char *what;
        QString folder;
        std::optional<int> answer;
        StartClaim claim;
        QString title;
        QString line;
    };
    const Case cases[] = {
        {"a program here that does not answer", folder.path(), std::nullopt, StartClaim::cannotGoOn,
         u"Lexicarta is already running"_s, u"the running program does not answer"_s},
        {"another computer's lock, kept", elsewhere.path(), 0, StartClaim::cannotGoOn,
         u"Lexicarta may be running on another computer"_s, u"in use by Lexicarta on other-host; not taken over"_s},
        {"a lock that cannot be read, kept", damaged.path(), 0, StartClaim::cannotGoOn,
         u"Lexicarta may be running on another computer"_s,
         u"in use by Lexicarta on an unknown computer; not taken over"_s},
        {"a folder that cannot hold a lock", folder.filePath(u"missing"_s), std::nullopt, StartClaim::cannotGoOn,
         u"Lexicarta cannot start"_s, u"cannot lock "_s + folder.filePath(u"missing"_s)},
        {"another computer's lock, taken over", elsewhere.path(), 1, StartClaim::goOn,
         u"Lexicarta may be running on another computer"_s, QString()},
    };
    // Kept, so that the last one holds what it took over.
    std::list<SingleInstance> instances;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SingleInstance &instance = instances.emplace_back(c.folder, folder.path());
        lexi::test::RecordingAlertPresenter alerts;
        if (c.answer)
            alerts.answers.push_back(*c.answer);
        const lexi::test::ConsoleCapture console;

        EXPECT_EQ(lexi::claimInstallation(instance, alerts, 100ms), c.claim);

        ASSERT_EQ(alerts.alerts.size(), 1);
        EXPECT_EQ(alerts.alerts.front().title, c.title);
        EXPECT_EQ(alerts.alerts.front().buttons.value(alerts.alerts.front().cancelButton), u"Quit"_s);
        EXPECT_EQ(console.lines(),
                  c.line.isEmpty() ? QStringList() : QStringList{u"Start > claim installation > "_s + c.line});
    }
    // Taken over, the installation is this program's: the next start hands over to it.
    SingleInstance next(elsewhere.path(), folder.path());
    EXPECT_EQ(next.claim(), Claim::runningHere);
}

} // namespace
