#include "shell/MoveOffer.h"
#include "shell/MoveToApplications.h"

#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"
#include "support/ConsoleCapture.h"
#include "support/RecordingAlertPresenter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

ProgramLocation at(const QString &path)
{
    ProgramLocation location;
    location.executablePath = path;
    location.homePath = u"/home/ana"_s;
    location.downloadsPath = u"/home/ana/Downloads"_s;
    return location;
}

TEST(MoveOffer, IsMadeOnlyForDownloadsAndRemovableOrReadOnlyMedia)
{
    struct Case
    {
        const char *name;
        ProgramLocation location;
        bool suppressed;
        bool offered;
    };
    ProgramLocation removable = at(u"/media/ana/STICK/Lexicarta.AppImage"_s);
    removable.isOnRemovableMedia = true;
    ProgramLocation readOnly = at(u"/mnt/cdrom/lexicarta"_s);
    readOnly.isOnReadOnlyMedia = true;
    ProgramLocation built = at(u"/home/ana/Downloads/lexicarta/build/src/app/lexicarta"_s);
    built.isInBuildFolder = true;
    ProgramLocation readOnlyUsr = at(u"/usr/bin/lexicarta"_s);
    readOnlyUsr.isOnReadOnlyMedia = true;

    const Case cases[] = {
        {"downloads", at(u"/home/ana/Downloads/Lexicarta.AppImage"_s), false, true},
        {"downloads, suppressed", at(u"/home/ana/Downloads/Lexicarta.AppImage"_s), true, false},
        {"a folder beside downloads", at(u"/home/ana/Downloads2/lexicarta"_s), false, false},
        {"removable medium", removable, false, true},
        {"read-only medium", readOnly, false, true},
        {"installed in /usr", at(u"/usr/bin/lexicarta"_s), false, false},
        {"read-only /usr", readOnlyUsr, false, false},
        {"installed in /usr/local", at(u"/usr/local/bin/lexicarta"_s), false, false},
        {"installed in /opt", at(u"/opt/lexicarta/lexicarta"_s), false, false},
        {"installed in ~/.local", at(u"/home/ana/.local/bin/lexicarta"_s), false, false},
        {"build folder inside downloads", built, false, false},
        {"any other folder", at(u"/home/ana/Programs/lexicarta"_s), false, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(shouldOfferMove(c.location, c.suppressed), c.offered) << c.name;
}

TEST(MoveOffer, AsksInTheLearnersWords)
{
    const ProgramLocation location = at(u"/home/ana/Downloads/lexicarta"_s);
    const MoveDestination home = moveDestination(MoveTarget::HomeFolder, location, u"/home/ana/.local/share"_s, u"/usr/local"_s);
    EXPECT_EQ(home.path, u"/home/ana/.local/bin/lexicarta"_s);
    EXPECT_EQ(home.desktopEntryFolder, u"/home/ana/.local/share/applications"_s);
    const MoveDestination everybody = moveDestination(MoveTarget::AllUsers, location, u"/home/ana/.local/share"_s, u"/usr/local"_s);
    EXPECT_EQ(everybody.path, u"/usr/local/bin/lexicarta"_s);
    EXPECT_FALSE(everybody.isInHomeFolder);

    const MoveOfferQuestion fromDownloads = moveOfferQuestion(home, false, true);
    EXPECT_EQ(fromDownloads.alert.title, u"Move to Applications folder in your Home folder?"_s);
    EXPECT_EQ(fromDownloads.alert.message, u"I can move myself to the Applications folder if you'd like. This will "
                                           u"keep your Downloads folder uncluttered."_s);
    EXPECT_EQ(fromDownloads.alert.buttons,
              (QStringList{u"Move to Applications Folder"_s, u"Do Not Move"_s, u"Move for All Users"_s}));
    EXPECT_EQ(moveOfferQuestion(everybody, true, true).alert.message,
              u"I can move myself to the Applications folder if you'd like. Note that this will require an "
              u"administrator password."_s);
}

TEST(MoveOffer, PkexecExitsMapToTheOutcomes)
{
    EXPECT_EQ(privilegedOutcome(0, false), PrivilegedOutcome::Succeeded);
    EXPECT_EQ(privilegedOutcome(126, false), PrivilegedOutcome::Cancelled);
    EXPECT_EQ(privilegedOutcome(127, false), PrivilegedOutcome::Failed);
    EXPECT_EQ(privilegedOutcome(1, false), PrivilegedOutcome::Failed);
    EXPECT_EQ(privilegedOutcome(0, true), PrivilegedOutcome::Failed);
}

TEST(MoveOffer, QuotesPathsForTheShell)
{
    EXPECT_EQ(shellQuoted(u"/home/ana/Ana's programs/lexicarta"_s), u"'/home/ana/Ana'\\''s programs/lexicarta'"_s);

    QProcess echo;
    const QString path = u"/tmp/it's \"odd\" $HOME `x` \\ folder"_s;
    echo.start(u"/bin/sh"_s, {u"-c"_s, u"printf %s "_s + shellQuoted(path)});
    ASSERT_TRUE(echo.waitForFinished());
    EXPECT_EQ(QString::fromUtf8(echo.readAllStandardOutput()), path);
}

TEST(MoveOffer, DesktopEntryStartsTheCopy)
{
    const QString shipped = u"[Desktop Entry]\nType=Application\nName=Lexicarta\nExec=lexicarta\nTryExec=lexicarta\n"_s;
    EXPECT_EQ(desktopEntryFor(shipped, u"/home/ana/.local/bin/lexicarta"_s),
              u"[Desktop Entry]\nType=Application\nName=Lexicarta\nExec=\"/home/ana/.local/bin/lexicarta\"\n"
              u"TryExec=/home/ana/.local/bin/lexicarta\n"_s);
    EXPECT_EQ(desktopEntryFor(u"Exec=x"_s, u"/a \"b\"/$c"_s), u"Exec=\"/a \\\\\"b\\\\\"/\\\\$c\""_s);
    // A per cent sign would start a field code; a tab or a newline would end the line or the value.
    EXPECT_EQ(desktopEntryFor(u"Exec=x\nTryExec=x"_s, u"/pct%f/tab\tnew\nline\\"_s),
              u"Exec=\"/pct%%f/tab\\tnew\\nline\\\\\\\\\"\nTryExec=/pct%f/tab\\tnew\\nline\\\\"_s);
}

TEST(MoveOffer, TheProgramWritesItsOwnDesktopEntryBesideTheCopy)
{
    const MoveEnvironment environment = currentEnvironment();
    EXPECT_EQ(environment.desktopEntryFileName, u"org.lexicarta.Lexicarta.desktop"_s);
    EXPECT_TRUE(environment.shippedDesktopEntry.startsWith(u"[Desktop Entry]"_s));
    EXPECT_TRUE(environment.shippedDesktopEntry.contains(u"\nExec="_s));
    EXPECT_TRUE(environment.location.isInBuildFolder) << "a test program runs from the build folder";
}

// The script waits for the process it names to end, then starts the copy: run for real against a
// short-lived process.
TEST(MoveOffer, RelaunchScriptStartsTheCopyAfterTheProcessEnded)
{
    QTemporaryDir folder(QDir::tempPath() + u"/it's a folder-XXXXXX"_s);
    ASSERT_TRUE(folder.isValid());
    const QString marker = folder.filePath(u"started"_s);
    const QString copy = folder.filePath(u"lexicarta"_s);
    QFile script(copy);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho started > \"$(dirname \"$0\")/started\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess running;
    running.start(u"/bin/sleep"_s, {u"30"_s});
    ASSERT_TRUE(running.waitForStarted());

    ASSERT_TRUE(QProcess::startDetached(u"/bin/sh"_s, {u"-c"_s, relaunchScript(running.processId(), copy)}));
    EXPECT_FALSE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 300))
        << "the copy waits while the process runs";

    running.kill();
    ASSERT_TRUE(running.waitForFinished(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
}

class MoveToApplicationsTest : public ::testing::Test
{
protected:
    class ScriptedPresenter final : public MoveOfferPresenter
    {
    public:
        MoveOfferAnswer ask(const MoveOfferQuestion &question) override
        {
            questions.append(question);
            return answer;
        }
        MoveOfferAnswer answer;
        QList<MoveOfferQuestion> questions;
    };

    MoveToApplicationsTest()
    {
        QDir().mkpath(home() + u"/Downloads"_s);
        QDir().mkpath(home() + u"/usr-local"_s);
        QFile program(home() + u"/Downloads/lexicarta"_s);
        program.open(QIODevice::WriteOnly);
        program.write("the program");
        program.close();

        environment.location = at(home() + u"/Downloads/lexicarta"_s);
        environment.location.homePath = home();
        environment.location.downloadsPath = home() + u"/Downloads"_s;
        environment.userDataFolder = home() + u"/.local/share"_s;
        environment.shippedDesktopEntry = u"[Desktop Entry]\nName=Lexicarta\nExec=lexicarta\n"_s;
        environment.desktopEntryFileName = u"lexicarta.desktop"_s;
        environment.allUsersPrefix = home() + u"/usr-local"_s;
        environment.processId = 4242;
        // Everything but the folder for all users is the learner's.
        environment.isWritable = [this](const QString &path) { return !path.startsWith(home() + u"/usr-local"_s); };
        environment.startDetachedShell = [this](const QString &script) {
            startedScripts.append(script);
            return true;
        };
        environment.isRunning = [](const QString &) { return false; };
        environment.runPrivileged = [this](const QString &script) -> std::optional<int> {
            privilegedScripts.append(script);
            return privilegedStatus;
        };
    }

    QString home() const { return folder.path(); }
    MoveOutcome run() { return moveToApplicationsFolderIfNecessary(environment, settings, presenter, alerts); }

    QTemporaryDir folder;
    Defaults defaults{folder.filePath(u"settings.conf"_s)};
    Settings settings{defaults};
    ScriptedPresenter presenter;
    test::RecordingAlertPresenter alerts;
    MoveEnvironment environment;
    QStringList startedScripts;
    QStringList privilegedScripts;
    std::optional<int> privilegedStatus = 0;
    test::ConsoleCapture console;
};

TEST_F(MoveToApplicationsTest, DecliningWithTheBoxTickedStopsTheOfferForGood)
{
    presenter.answer = {DoNotMoveButton, true};
    EXPECT_EQ(run(), MoveOutcome::Declined);
    EXPECT_TRUE(settings.value(Settings::moveToApplicationsFolderAlertSuppress));

    EXPECT_EQ(run(), MoveOutcome::NothingToDo);
    EXPECT_EQ(presenter.questions.size(), 1);
    EXPECT_TRUE(QFile::exists(environment.location.executablePath));
}

TEST_F(MoveToApplicationsTest, DecliningWithoutTheBoxAsksAgainNextTime)
{
    presenter.answer = {DoNotMoveButton, false};
    EXPECT_EQ(run(), MoveOutcome::Declined);
    EXPECT_EQ(run(), MoveOutcome::Declined);
    EXPECT_FALSE(settings.value(Settings::moveToApplicationsFolderAlertSuppress));
}

TEST_F(MoveToApplicationsTest, MovesIntoTheHomeFolderAndStartsTheCopy)
{
    presenter.answer = {MoveButton, false};
    ASSERT_EQ(run(), MoveOutcome::Relaunching);

    const QString copy = home() + u"/.local/bin/lexicarta"_s;
    QFile moved(copy);
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), "the program");
    EXPECT_TRUE(moved.permissions() & QFile::ExeOwner);
    QFile entry(home() + u"/.local/share/applications/lexicarta.desktop"_s);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("Exec=\"" + copy.toUtf8() + "\""));
    EXPECT_FALSE(QFile::exists(environment.location.executablePath)) << "the download went to the trash";
    EXPECT_EQ(startedScripts, QStringList{relaunchScript(4242, copy)});
    EXPECT_TRUE(console.lines().contains(u"INFO -- Moving myself to the Applications folder"_s));
}

TEST_F(MoveToApplicationsTest, SwitchesToACopyThatAlreadyRuns)
{
    const QString copy = home() + u"/.local/bin/lexicarta"_s;
    QDir().mkpath(home() + u"/.local/bin"_s);
    QFile(environment.location.executablePath).copy(copy);
    environment.isRunning = [copy](const QString &path) { return path == copy; };
    presenter.answer = {MoveButton, false};

    EXPECT_EQ(run(), MoveOutcome::Relaunching);
    EXPECT_TRUE(console.lines().contains(u"INFO -- Switching to an already running version"_s));
    EXPECT_TRUE(QFile::exists(environment.location.executablePath)) << "nothing was moved";
    ASSERT_EQ(startedScripts.size(), 1);
    EXPECT_TRUE(startedScripts.first().startsWith(shellQuoted(copy)));
}

TEST_F(MoveToApplicationsTest, ForAllUsersAsksPkexecAndMapsItsExits)
{
    struct Case
    {
        std::optional<int> status;
        MoveOutcome outcome;
        qsizetype alerts;
    };
    const Case cases[] = {
        {126, MoveOutcome::Cancelled, 0},
        {127, MoveOutcome::Failed, 1},
        {std::nullopt, MoveOutcome::Failed, 1},
    };
    presenter.answer = {MoveForAllUsersButton, false};
    for (const Case &c : cases) {
        alerts.alerts.clear();
        privilegedStatus = c.status;
        EXPECT_EQ(run(), c.outcome);
        EXPECT_EQ(alerts.alerts.size(), c.alerts);
        EXPECT_TRUE(QFile::exists(environment.location.executablePath));
        EXPECT_TRUE(startedScripts.isEmpty());
    }
    ASSERT_FALSE(privilegedScripts.isEmpty());
    EXPECT_TRUE(privilegedScripts.first().contains(u"/bin/cp -p "_s + shellQuoted(environment.location.executablePath)
                                                   + u" "_s + shellQuoted(home() + u"/usr-local/bin/lexicarta"_s)));
    ASSERT_FALSE(alerts.alerts.isEmpty());
    EXPECT_EQ(alerts.alerts.first().title, u"Could not move to Applications folder"_s);
}

// Run for real, the privileged script makes the folders the prefix lacks (a fresh prefix has no
// bin folder) and leaves the copy and its desktop entry there.
TEST_F(MoveToApplicationsTest, ForAllUsersMakesThePrefixsFolders)
{
    environment.runPrivileged = [](const QString &script) -> std::optional<int> {
        QProcess shell;
        shell.start(u"/bin/sh"_s, {u"-c"_s, script});
        if (!shell.waitForFinished(10000) || shell.exitStatus() != QProcess::NormalExit)
            return std::nullopt;
        return shell.exitCode();
    };
    presenter.answer = {MoveForAllUsersButton, false};
    ASSERT_FALSE(QFileInfo::exists(home() + u"/usr-local/bin"_s));

    EXPECT_EQ(run(), MoveOutcome::Relaunching);
    QFile copy(home() + u"/usr-local/bin/lexicarta"_s);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "the program");
    EXPECT_TRUE(QFileInfo::exists(home() + u"/usr-local/share/applications/lexicarta.desktop"_s));
    EXPECT_TRUE(alerts.alerts.isEmpty());
}

} // namespace
} // namespace lexi
