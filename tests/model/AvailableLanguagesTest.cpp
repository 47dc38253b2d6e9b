#include "support/ConsoleCapture.h"

#include "model/AvailableLanguages.h"
#include "platform/ApplicationFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(AvailableLanguagesTest, ListsVocabularyFilesAndDeletesConflictedCopies)
{
    QTemporaryDir root;
    const lexi::ApplicationFolders folders(root.path());
    const QDir vocabularies(folders.vocabularyFolderPath());
    for (const char *name : {"French - English.qlxv", "notes.txt", "GERMAN - ENGLISH.QLXV", "French - English (1).qlxv",
                             "a.qlxv.b.qlxv", "a.qlxv.backup", ".hidden.qlxv", "Spanish (Latin America).qlxv"})
        touch(vocabularies.filePath(QString::fromUtf8(name)));
    ASSERT_TRUE(vocabularies.mkdir(QStringLiteral("folder.qlxv")));

    QStringList paths = lexi::loadAllAvailableLanguagePaths(folders);
    paths.sort();
    EXPECT_EQ(paths, (QStringList{vocabularies.filePath(QStringLiteral("French - English.qlxv")),
                                  vocabularies.filePath(QStringLiteral("GERMAN - ENGLISH.QLXV"))}));
    EXPECT_FALSE(vocabularies.exists(QStringLiteral("French - English (1).qlxv")));
    EXPECT_FALSE(vocabularies.exists(QStringLiteral("Spanish (Latin America).qlxv")));
    EXPECT_TRUE(vocabularies.exists(QStringLiteral("notes.txt")));
    EXPECT_TRUE(vocabularies.exists(QStringLiteral(".hidden.qlxv")));

    const QList<QLXFile> files = lexi::loadAllAvailableLanguages(folders);
    ASSERT_EQ(files.size(), 2);
    QStringList names = {files[0].fileName(), files[1].fileName()};
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("French - English"), QStringLiteral("GERMAN - ENGLISH")}));
}

TEST(AvailableLanguagesTest, AFolderThatCannotBeMadeListsNothing)
{
    QTemporaryDir root;
    touch(root.filePath(QStringLiteral("Lexicarta")));
    const lexi::ApplicationFolders folders(root.path());
    EXPECT_TRUE(lexi::loadAllAvailableLanguages(folders).isEmpty());
}

} // namespace
