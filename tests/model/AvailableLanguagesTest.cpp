#include "support/FakeClock.h"
#include "support/FakeVocabularyServices.h"

#include "model/AvailableLanguages.h"
#include "platform/files/ApplicationFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void put(const QString &path, const QByteArray &data = {})
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(data);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

TEST(AvailableLanguagesTest, ListsVocabularyFilesAndMovesConflictedCopiesToTheBackups)
{
    QTemporaryDir root;
    const lexi::ApplicationFolders folders(root.path());
    const lexi::test::FakeClock clock(lexi::test::localTime(2015, 5, 3, 14, 5).addingSeconds(9));
    const QDir vocabularies(folders.vocabularyFolderPath());
    const QDir backups(folders.backupFolderPath());
    const QStringList listed = {u"French - English.qlxv"_s, u"GERMAN - ENGLISH.QLXV"_s, u"French - English (UK).qlxv"_s,
                                u"French - Chinese (Simplified).qlxv"_s, u"Fr..ench - English.qlxv"_s};
    const QStringList passedOver = {u"notes.txt"_s, u"a.qlxv.b.qlxv"_s, u"a.qlxv.backup"_s, u".hidden.qlxv"_s};
    for (const QString &name : listed + passedOver)
        put(vocabularies.filePath(name));
    ASSERT_TRUE(vocabularies.mkdir(u"folder.qlxv"_s));
    put(vocabularies.filePath(u"French - English (1).qlxv"_s), "numbered copy");
    put(vocabularies.filePath(u"French - English (Tom's Conflicted Copy 2015-05-03).qlxv"_s), "Tom's copy");
    // Taken already: the copy gets a name of its own.
    put(backups.filePath(u"French - English (1)-2015-05-03-14-05-09.qlxv"_s), "older backup");

    QStringList expected;
    for (const QString &name : listed)
        expected.append(vocabularies.filePath(name));
    EXPECT_EQ(sorted(lexi::loadAllAvailableLanguagePaths(folders, clock)), sorted(expected));

    EXPECT_EQ(sorted(vocabularies.entryList(QDir::Files | QDir::Hidden)), sorted(listed + passedOver));
    EXPECT_EQ(backups.entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{u"French - English (1)-2015-05-03-14-05-09-2.qlxv"_s,
                           u"French - English (1)-2015-05-03-14-05-09.qlxv"_s,
                           u"French - English (Tom's Conflicted Copy 2015-05-03)-2015-05-03-14-05-09.qlxv"_s}));
    EXPECT_EQ(contents(backups.filePath(u"French - English (1)-2015-05-03-14-05-09-2.qlxv"_s)), "numbered copy");
    EXPECT_EQ(contents(backups.filePath(u"French - English (1)-2015-05-03-14-05-09.qlxv"_s)), "older backup");

    const QList<QLXFile> files = lexi::loadAllAvailableLanguages(folders, clock);
    QStringList names;
    for (const QLXFile &file : files)
        names.append(file.fileName());
    EXPECT_EQ(sorted(names), sorted({u"French - English"_s, u"GERMAN - ENGLISH"_s, u"French - English (UK)"_s,
                                     u"French - Chinese (Simplified)"_s, u"Fr..ench - English"_s}));
}

TEST(AvailableLanguagesTest, AFolderThatCannotBeMadeListsNothing)
{
    QTemporaryDir root;
    put(root.filePath(u"Lexicarta"_s));
    const lexi::ApplicationFolders folders(root.path());
    EXPECT_TRUE(lexi::loadAllAvailableLanguages(folders, lexi::Clock::system()).isEmpty());
}

} // namespace
