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

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

TEST(AvailableLanguagesTest, ListsVocabularyFilesAndLeavesConflictedCopiesWhereTheyAre)
{
    QTemporaryDir root;
    const lexi::ApplicationFolders folders(root.path());
    const QDir vocabularies(folders.vocabularyFolderPath());
    const QStringList listed = {u"French - English.qlxv"_s, u"GERMAN - ENGLISH.QLXV"_s, u"French - English (UK).qlxv"_s,
                                u"French - Chinese (Simplified).qlxv"_s, u"Fr..ench - English.qlxv"_s};
    const QStringList passedOver = {u"notes.txt"_s,
                                    u"a.qlxv.b.qlxv"_s,
                                    u"a.qlxv.backup"_s,
                                    u".hidden.qlxv"_s,
                                    u"French - English (1).qlxv"_s,
                                    u"French - English (Tom's Conflicted Copy 2015-05-03).qlxv"_s,
                                    u"French - English.sync-conflict-20150503-140509-ABCDEFG.qlxv"_s};
    for (const QString &name : listed + passedOver)
        put(vocabularies.filePath(name));
    ASSERT_TRUE(vocabularies.mkdir(u"folder.qlxv"_s));

    QStringList expected;
    for (const QString &name : listed)
        expected.append(vocabularies.filePath(name));
    EXPECT_EQ(sorted(lexi::loadAllAvailableLanguagePaths(folders)), sorted(expected));
    EXPECT_EQ(sorted(vocabularies.entryList(QDir::Files | QDir::Hidden)), sorted(listed + passedOver));

    const QList<QLXFile> files = lexi::loadAllAvailableLanguages(folders);
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
    EXPECT_TRUE(lexi::loadAllAvailableLanguages(folders).isEmpty());
}

} // namespace
