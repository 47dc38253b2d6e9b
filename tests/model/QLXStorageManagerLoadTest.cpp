#include "QLXStorageManagerFixture.h"

#include "support/AddressSpaceLimit.h"
#include "support/NonRegularFiles.h"
#include "support/RecordingLogger.h"

#include "logging/QLXLog.h"
#include "platform/plist/KeyedArchive.h"

#include <QFileInfo>
#include <QJsonDocument>

using namespace Qt::StringLiterals;
using lexi::Date;
using lexi::test::QLXStorageManagerTest;

// Loading: what cannot be loaded gives nothing and its alert, and leaves the file as it was.

namespace {

TEST_F(QLXStorageManagerTest, FilesThatCannotBeLoadedGiveNothingAndTheLoadAlert)
{
    const QByteArray json = QJsonDocument(vocabulary->dictionaryRepresentation()).toJson(QJsonDocument::Compact);
    const QByteArray packed = compressed(json);
    const QString readError = u"The selected language 'Broken' could not be loaded. (File read error)\nGo to '%1' "
                              "to restore from the last backup copy."_s.arg(backupFolder());
    const QString decompressionError = u"The selected language 'Broken' could not be loaded. (Decompression "
                                       "error)\nGo to '%1' to restore from the last backup copy."_s.arg(backupFolder());
    const QString formatError = u"The selected language 'Broken' could not be loaded. (File format error)\nGo to "
                                "'%1' to restore from the last backup copy."_s.arg(backupFolder());
    const struct
    {
        const char *what;
        std::optional<QByteArray> contents;
        QString message;
    } cases[] = {
        {"no file", std::nullopt, readError},
        {"an empty file", QByteArray(), decompressionError},
        {"bytes that are no bzip2", "{\"language\": \"plain JSON\"}", decompressionError},
        {"a cut stream", packed.left(packed.size() / 2), decompressionError},
        {"a damaged stream", QByteArray(packed).replace(packed.size() / 2, 4, QByteArray("\xff\x00\xff\x00", 4)), decompressionError},
        {"text that is no JSON", compressed("not JSON at all"), formatError},
        {"cut JSON", compressed(json.left(json.size() - 1)), formatError},
        {"JSON whose root is an array", compressed("[{\"language\": \"x\"}]"), formatError},
        {"JSON whose root is a string", compressed("\"French\""), formatError},
        {"an object of something else", compressed(R"({"hello": 1})"), formatError},
        {"an empty object", compressed("{}"), formatError},
        {"names without a list of words", compressed(R"({"language": "Broken", "version": 3})"), formatError},
        {"a level list that is an array", compressed(R"({"unknownWords": [{"yw": "a", "fw": "b"}]})"), formatError},
        {"a level list without its words", compressed(R"({"unknownWords": {"w": []}})"), formatError},
        {"a list of nested arrays, but no word", compressed(R"({"unknownWords": {"words": [[[]], [{"yw": "a"}]]}})"),
         formatError},
        {"words that are no array", compressed(R"({"shortTermWords": {"words": {"yw": "a"}}, "nativeWords": {"words": []}})"),
         formatError},
    };
    const QString path = elsewhere(u"Broken.qlxv"_s);
    for (const auto &c : cases) {
        QFile::remove(path);
        if (c.contents)
            writeFile(path, *c.contents);
        fakes.alerts.alerts.clear();
        EXPECT_FALSE(store.vocabularyFromFile(path)) << c.what;
        ASSERT_EQ(fakes.alerts.alerts.size(), 1) << c.what;
        EXPECT_EQ(fakes.alerts.alerts[0],
                  (lexi::Alert{u"Error"_s, c.message, {u"OK"_s, u"Go to backups folder"_s}, 0}))
            << c.what;
        // The file is left as it was, for the learner to restore.
        EXPECT_EQ(QFile::exists(path), c.contents.has_value()) << c.what;
    }
    EXPECT_TRUE(workspace.openedFolders.isEmpty());
}

// Loading for an import tells how much of the file is read, for the bar of the busy sheet.
TEST_F(QLXStorageManagerTest, LoadingTheOwnFormatTellsHowMuchOfTheFileIsRead)
{
    for (int i = 0; i < 2000; ++i)
        vocabulary->batchAddWords({std::make_shared<QLXWord>(u"your %1"_s.arg(i), u"foreign %1"_s.arg(i))});
    const QString path = elsewhere(u"French.qlxv"_s);
    ASSERT_TRUE(store.saveVocabularyToQLXVFile(vocabulary.get(), path));
    lexi::WorkProgress progress;
    ASSERT_TRUE(store.loadQLXVFile(path, &progress).vocabulary);
    EXPECT_EQ(progress.permille(), 1000);
}

TEST_F(QLXStorageManagerTest, TextsTheStreamingReaderRefusesAreReadAnotherWay)
{
    const struct
    {
        const char *what;
        QByteArray json;
        QString yourWord;
        std::optional<Date> lastAsked;
    } cases[] = {
        // Refused by every reader before: now the value is missing and the rest loads.
        {"a number too large for a double", R"({"unknownWords": {"words": [{"yw": "sea", "la": 1e400}]}})", u"sea"_s,
         std::nullopt},
        // As written by earlier versions of this program.
        {"an escaped lone surrogate", R"({"unknownWords": {"words": [{"yw": "\ud800 sea", "la": 1400000000}]}})",
         QChar(0xd800) + u" sea"_s, Date::fromSecondsSince1970(1400000000)},
    };
    for (const auto &c : cases) {
        const QString path = elsewhere(u"odd.qlxv"_s);
        writeFile(path, compressed(c.json));
        const auto loaded = store.vocabularyFromFile(path);
        ASSERT_TRUE(loaded) << c.what;
        ASSERT_EQ(loaded->countAllWords(), 1) << c.what;
        EXPECT_EQ(loaded->allWords()[0]->yourWord(), c.yourWord) << c.what;
        EXPECT_EQ(loaded->allWords()[0]->lastAsked(), c.lastAsked) << c.what;
    }
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

TEST_F(QLXStorageManagerTest, WhatIsNoRegularFileIsRefusedAtOnceWithTheLoadAlert)
{
    for (const QString &extension : {u"qlxv"_s, u"tbf"_s}) {
        const lexi::test::NonRegularFiles files(root.path(), extension);
        for (const auto &entry : files.entries()) {
            SCOPED_TRACE(entry.kind + (u" ."_s + extension).toStdString());
            fakes.alerts.alerts.clear();
            std::shared_ptr<Lexicarta> loaded;
            {
                // A loader reading the device to its end fails here before it takes the machine.
                const lexi::test::AddressSpaceLimit limit(std::size_t(512) << 20);
                EXPECT_TRUE(files.endsWithoutWriter([&] { loaded = store.vocabularyFromFile(entry.path); }));
            }
            EXPECT_FALSE(loaded);
            const QString name = QFileInfo(entry.path).completeBaseName();
            const lexi::Alert alert =
                extension == u"tbf"_s
                    ? lexi::Alert{u"Error"_s, u"The selected language '%1' could not be loaded."_s.arg(name),
                                  {u"OK"_s}, 0}
                    : lexi::Alert{u"Error"_s,
                                  u"The selected language '%1' could not be loaded. (File read error)\nGo to '%2' to "
                                  "restore from the last backup copy."_s.arg(name, backupFolder()),
                                  {u"OK"_s, u"Go to backups folder"_s},
                                  0};
            EXPECT_EQ(fakes.alerts.alerts, QList<lexi::Alert>{alert});
        }
    }
}

// A link to a file of /proc is a regular file whose size reads 0, and /proc/self/pagemap goes on
// for terabytes: each loader reads no more than its bound.
TEST_F(QLXStorageManagerTest, ALinkToAnEndlessFileOfProcIsReadOnlyToTheBound)
{
    for (const QString &extension : {u"qlxv"_s, u"tbf"_s}) {
        SCOPED_TRACE(extension.toStdString());
        const QString path = elsewhere(u"pagemap."_s + extension);
        ASSERT_TRUE(QFile::link(u"/proc/self/pagemap"_s, path));
        fakes.alerts.alerts.clear();
        std::shared_ptr<Lexicarta> loaded;
        {
            const lexi::test::AddressSpaceLimit limit(std::size_t(1) << 30);
            loaded = store.vocabularyFromFile(path);
        }
        EXPECT_FALSE(loaded);
        EXPECT_EQ(fakes.alerts.alerts.size(), 1);
    }
}

// 782 bytes holding one word whose side is 900 MiB long.
TEST_F(QLXStorageManagerTest, AFileUnpackingBeyondTheBoundIsRefusedWithinBoundedMemory)
{
    const QString bomb = elsewhere(u"Bomb.qlxv"_s);
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(TEST_DATA "/string-bomb.qlxv"), bomb));
    std::shared_ptr<Lexicarta> loaded;
    {
        const lexi::test::AddressSpaceLimit limit(std::size_t(512) << 20);
        loaded = store.vocabularyFromFile(bomb);
    }
    EXPECT_FALSE(loaded);
    const lexi::Alert alert{u"Error"_s,
                            u"The selected language 'Bomb' could not be loaded. (Decompression error)\nGo to '%1' to "
                            "restore from the last backup copy."_s.arg(backupFolder()),
                            {u"OK"_s, u"Go to backups folder"_s},
                            0};
    EXPECT_EQ(fakes.alerts.alerts, QList<lexi::Alert>{alert});
}

// A file loads only when its vocabulary can be saved again, else nothing the learner did in it
// would ever be written. 5 KB holding 40 million empty words (114 MiB of JSON) are refused as soon
// as the reading passes the most words a vocabulary may hold; 619 bytes holding 200,000 words of
// 650 letters (126 MiB of JSON, within the bound) are refused since the save's JSON, which gives
// every word its identifier and both sides, would exceed it.
TEST_F(QLXStorageManagerTest, AFileWhoseVocabularyCouldNotBeSavedAgainIsRefused)
{
    for (const QString &name : {u"word-bomb"_s, u"unsaveable"_s}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = elsewhere(name + u".qlxv"_s);
        ASSERT_TRUE(QFile::copy(QString::fromUtf8(TEST_DATA "/") + name + u".qlxv"_s, path));
        fakes.alerts.alerts.clear();
        std::shared_ptr<Lexicarta> loaded;
        {
            const lexi::test::AddressSpaceLimit limit(std::size_t(1) << 30);
            loaded = store.vocabularyFromFile(path);
        }
        EXPECT_FALSE(loaded);
        const lexi::Alert alert{u"Error"_s,
                                u"The selected language '%1' could not be loaded. (Decompression error)\nGo to '%2' to "
                                "restore from the last backup copy."_s.arg(name, backupFolder()),
                                {u"OK"_s, u"Go to backups folder"_s},
                                0};
        EXPECT_EQ(fakes.alerts.alerts, QList<lexi::Alert>{alert});
    }
}

TEST_F(QLXStorageManagerTest, AVocabularyOf200000WordsStillLoads)
{
    lexi::WordList words;
    for (int i = 0; i < 200000; ++i) {
        auto word = std::make_shared<QLXWord>(u"the word %1"_s.arg(i), u"das Wort %1, der Begriff"_s.arg(i),
                                              u"plural: Wörter; also Ausdruck %1"_s.arg(i));
        word->setTags({u"topic-%1"_s.arg(i % 150), u"lesson %1"_s.arg(i % 40)});
        word->setLevel(quint64(i % 6));
        word->setLastAsked(Date::fromSecondsSince1970(1400000000.0 + i));
        word->setCreationID(i + 1);
        words.append(std::move(word));
    }
    vocabulary->setAllWords(words);
    const QString path = elsewhere(u"large.qlxv"_s);
    ASSERT_TRUE(store.saveVocabularyToQLXVFile(vocabulary.get(), path));
    const auto loaded = store.vocabularyFromFile(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->countAllWords(), 200000);
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

TEST_F(QLXStorageManagerTest, TheLoadAlertsSecondButtonOpensTheBackupsFolder)
{
    fakes.alerts.answers = {1};
    EXPECT_FALSE(store.vocabularyFromQLXVFile(elsewhere(u"missing.qlxv"_s)));
    EXPECT_EQ(workspace.openedFolders, QStringList{backupFolder()});
}

TEST_F(QLXStorageManagerTest, ArchivesThatCannotBeLoadedGiveNothingAndTheirAlert)
{
    QLXStatistics statistics;
    const QByteArray otherRoot = lexi::KeyedArchive::archivedData(statistics);
    const QByteArray good = lexi::KeyedArchive::archivedData(*vocabulary);
    const struct
    {
        const char *what;
        QByteArray contents;
    } cases[] = {
        {"an empty file", QByteArray()},
        {"no property list", "just text"},
        {"a property list that is no keyed archive",
         R"(<?xml version="1.0"?><plist version="1.0"><array><string>x</string></array></plist>)"},
        {"an archive of something else", otherRoot},
        {"a cut archive", good.left(good.size() - 40)},
    };
    const QString path = elsewhere(u"Broken.tbf"_s);
    for (const auto &c : cases) {
        writeFile(path, c.contents);
        fakes.alerts.alerts.clear();
        EXPECT_FALSE(store.vocabularyFromFile(path)) << c.what;
        EXPECT_EQ(fakes.alerts.alerts,
                  QList<lexi::Alert>(
                      {{u"Error"_s, u"The selected language 'Broken' could not be loaded."_s, {u"OK"_s}, 0}}))
            << c.what;
    }
    fakes.alerts.alerts.clear();
    EXPECT_FALSE(store.vocabularyFromFile(elsewhere(u"Missing.tbf"_s)));
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

TEST_F(QLXStorageManagerTest, AnAbsentPathIsLoggedAsAnError)
{
    auto logger = std::make_shared<RecordingLogger>();
    QLXLog::addLogger(logger);
    EXPECT_FALSE(store.vocabularyFromFile(QString()));
    EXPECT_FALSE(store.vocabularyFromTBFFile(QString()));
    QLXLog::flushLog();
    QLXLog::removeLogger(logger);
    EXPECT_EQ(logger->texts(), QStringList(2, u"StorageM > vocFromQLXVFile > path is nil"_s));
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

} // namespace
