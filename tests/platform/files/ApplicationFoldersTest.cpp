#include "support/RecordingAlertPresenter.h"

#include "platform/files/ApplicationFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using lexi::ApplicationFolders;
using namespace Qt::StringLiterals;

TEST(ApplicationFoldersTest, CreatesTheFoldersPrivateAndWithMissingParents)
{
    QTemporaryDir root;
    lexi::test::RecordingAlertPresenter alerts;
    const auto folders = ApplicationFolders::open(root.filePath(u"a/b/share"_s), alerts);
    ASSERT_TRUE(folders);
    EXPECT_TRUE(alerts.alerts.isEmpty());

    const QString applicationFolder = root.filePath(u"a/b/share/Lexicarta"_s);
    EXPECT_EQ(folders->applicationSupportFolder(), applicationFolder);
    EXPECT_TRUE(QFileInfo(applicationFolder).isDir());
    EXPECT_EQ(QFileInfo(applicationFolder).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    const QStringList subfolders = {folders->vocabularyFolderPath(), folders->backupFolderPath(),
                                    folders->logsFolderPath(), folders->downloadFolderPath(),
                                    folders->uploadFolderPath()};
    EXPECT_EQ(subfolders, (QStringList{applicationFolder + u"/Vocabularies"_s, applicationFolder + u"/Backups"_s,
                                       applicationFolder + u"/Logs"_s, applicationFolder + u"/Download"_s,
                                       applicationFolder + u"/Upload"_s}));
    for (const QString &folder : subfolders)
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
}

TEST(ApplicationFoldersTest, RecreatesAFolderDeletedWhileRunning)
{
    QTemporaryDir root;
    const ApplicationFolders folders(root.path());
    QDir(folders.applicationSupportFolder()).removeRecursively();
    EXPECT_TRUE(QFileInfo(folders.vocabularyFolderPath()).isDir());
}

TEST(ApplicationFoldersTest, NoFolderAlertsTheLearnerAndGivesNothing)
{
    QTemporaryDir root;
    QFile blocker(root.filePath(u"file"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    for (const std::optional<QString> &dataFolder :
         {std::optional<QString>(), std::optional<QString>(QString()), std::optional<QString>(blocker.fileName())}) {
        lexi::test::RecordingAlertPresenter alerts;
        EXPECT_FALSE(ApplicationFolders::open(dataFolder, alerts));
        ASSERT_EQ(alerts.alerts.size(), 1);
        EXPECT_EQ(alerts.alerts.first(), (lexi::Alert{u"Alert"_s,
                                                       u"Can't find application support folder"_s,
                                                       {u"Quit"_s},
                                                       0}));
    }
}

TEST(ApplicationFoldersTest, StandardDataFolderFollowsXdgDataHomeThenHome)
{
    qputenv("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(ApplicationFolders::standardUserDataFolder(), u"/data/home"_s);
    qputenv("XDG_DATA_HOME", "relative/is/ignored");
    qputenv("HOME", "/home/learner");
    EXPECT_EQ(ApplicationFolders::standardUserDataFolder(), u"/home/learner/.local/share"_s);
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("HOME");
    EXPECT_FALSE(ApplicationFolders::standardUserDataFolder());
}
