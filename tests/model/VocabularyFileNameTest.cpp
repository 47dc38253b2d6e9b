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
        // The vocabulary a conflicted copy is a copy of.
        std::optional<QString> original;
    };
    const QString french = u"French - English.qlxv"_s;
    const Case cases[] = {
        {u"French - English.qlxv"_s, true, {}},
        {u"GERMAN - ENGLISH.QLXV"_s, true, {}},
        {u"Fr..ench - English.qlxv"_s, true, {}},
        {u"French - English (UK).qlxv"_s, true, {}},
        {u"French - Chinese (Simplified).qlxv"_s, true, {}},
        {u"French (1) - English.qlxv"_s, true, {}},
        {u"French - English ().qlxv"_s, true, {}},
        {u"French - English (1a).qlxv"_s, true, {}},
        {u"French - English (conflicts).qlxv"_s, true, {}},
        {u"French - English.sync-conflict.qlxv"_s, true, {}},
        {u"French - English (1).qlxv"_s, true, french},
        {u"French - English(23).QLXV"_s, true, u"French - English.QLXV"_s},
        {u"French - English (Tom's conflicted copy).qlxv"_s, true, french},
        {u"French - English (Tom's Conflicted Copy 2015-05-03).qlxv"_s, true, french},
        {u"French - English (conflicted copy 2026-01-05 143000).qlxv"_s, true, french},
        {u"French - English (conflict #1 on 2026-01-05 at 14-30-00).qlxv"_s, true, french},
        {u"French - English (conflict #2_on_2026-01-05).qlxv"_s, true, french},
        // Unison's first copy of a day.
        {u"French - English (conflict_on_2026-01-05).qlxv"_s, true, french},
        {u"French - English (conflict on 2026-01-05).qlxv"_s, true, french},
        {u"French - English (conflicting).qlxv"_s, true, {}},
        {u"French - English.sync-conflict-20260105-143000-ABCD3FG.qlxv"_s, true, french},
        {u"French - English (UK) (2).qlxv"_s, true, u"French - English (UK).qlxv"_s},
        {u"(2).qlxv"_s, true, u".qlxv"_s},
        {u".qlxv"_s, false, {}},
        {u".hidden.qlxv"_s, false, {}},
        {u"..qlxv"_s, false, {}},
        {u"a/b.qlxv"_s, false, {}},
        {u"../b.qlxv"_s, false, {}},
        {u"a.qlxv.b.qlxv"_s, false, {}},
        {u"a (1).qlxv.qlxv"_s, false, {}},
        {u"French - English.qlxv.part"_s, false, {}},
        {u"notes.txt"_s, false, {}},
        {u"nul\0.qlxv"_s, false, {}},
        {QString(), false, {}},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name.toStdString());
        EXPECT_EQ(lexi::isVocabularyFileName(test.name), test.isVocabulary);
        EXPECT_EQ(lexi::isConflictedCopy(test.name), test.original.has_value());
        EXPECT_EQ(lexi::conflictedCopyOriginal(test.name), test.original);
    }

    EXPECT_EQ(lexi::vocabularyFileNameForName(u"French - English (UK)"_s), u"French - English (UK).qlxv"_s);
    for (const QString &refused : {u"../escaped - English"_s, u"."_s, u""_s, u"French - English (2)"_s,
                                   u"Notes.sync-conflict-20260105-143000-ABCDEFG"_s})
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
