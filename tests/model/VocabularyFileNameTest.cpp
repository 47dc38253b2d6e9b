#include "support/FakeVocabularyServices.h"

#include "model/VocabularyFileName.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(VocabularyFileNameTest, TellsVocabulariesFromConflictedCopiesAndOtherFiles)
{
    struct Case
    {
        QString name;
        bool isVocabulary;
        bool isConflicted;
    };
    const Case cases[] = {
        {u"French - English.qlxv"_s, true, false},
        {u"GERMAN - ENGLISH.QLXV"_s, true, false},
        {u"Fr..ench - English.qlxv"_s, true, false},
        {u"French - English (UK).qlxv"_s, true, false},
        {u"French - Chinese (Simplified).qlxv"_s, true, false},
        {u"French (1) - English.qlxv"_s, true, false},
        {u"French - English ().qlxv"_s, true, false},
        {u"French - English (1a).qlxv"_s, true, false},
        {u"French - English (1).qlxv"_s, true, true},
        {u"French - English(23).QLXV"_s, true, true},
        {u"French - English (Tom's conflicted copy).qlxv"_s, true, true},
        {u"French - English (Tom's Conflicted Copy 2015-05-03).qlxv"_s, true, true},
        {u".qlxv"_s, false, false},
        {u".hidden.qlxv"_s, false, false},
        {u"..qlxv"_s, false, false},
        {u"a/b.qlxv"_s, false, false},
        {u"../b.qlxv"_s, false, false},
        {u"a.qlxv.b.qlxv"_s, false, false},
        {u"a (1).qlxv.qlxv"_s, false, false},
        {u"French - English.qlxv.part"_s, false, false},
        {u"notes.txt"_s, false, false},
        {u"nul\0.qlxv"_s, false, false},
        {QString(), false, false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name.toStdString());
        EXPECT_EQ(lexi::isVocabularyFileName(test.name), test.isVocabulary);
        EXPECT_EQ(lexi::isConflictedCopy(test.name), test.isConflicted);
    }

    EXPECT_EQ(lexi::vocabularyFileNameForName(u"French - English (UK)"_s), u"French - English (UK).qlxv"_s);
    for (const QString &refused : {u"../escaped - English"_s, u"."_s, u""_s, u"French - English (2)"_s})
        EXPECT_FALSE(lexi::vocabularyFileNameForName(refused)) << refused.toStdString();
}

TEST(VocabularyFileNameTest, NamesBackupsByTheLocalTimeAndNeverReusesAName)
{
    const lexi::Date time = lexi::test::localTime(2015, 5, 3, 14, 5).addingSeconds(9);
    QTemporaryDir folder;
    EXPECT_EQ(lexi::newBackupPath(folder.path(), u"French - English (1).QLXV"_s, time),
              folder.path() + u"/French - English (1)-2015-05-03-14-05-09.qlxv"_s);

    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths.append(lexi::newBackupPath(folder.path(), u"French - English.qlxv"_s, time));
        QFile file(paths.last());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // A dangling link takes a name too: writing through it would put the backup elsewhere.
    const QString base = folder.path() + u"/French - English-2015-05-03-14-05-09"_s;
    ASSERT_TRUE(QFile::link(folder.filePath(u"gone"_s), base + u"-4.qlxv"_s));
    paths.append(lexi::newBackupPath(folder.path(), u"French - English.qlxv"_s, time));
    EXPECT_EQ(paths,
              (QStringList{base + u".qlxv"_s, base + u"-2.qlxv"_s, base + u"-3.qlxv"_s, base + u"-5.qlxv"_s}));
}

} // namespace
