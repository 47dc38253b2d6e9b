#include "QLXStorageManagerFixture.h"

#include "support/FileSizeLimit.h"
#include "support/RecordingLogger.h"

#include "logging/QLXLog.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QProcess>
#include <QThreadPool>

#include <functional>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::Date;
using lexi::test::QLXStorageManagerTest;

// Saving: names, both formats, failed and killed saves, the background saver and the backups.
// What cannot be loaded is in QLXStorageManagerLoadTest.cpp.

namespace {

// Runs `program` with `arguments`, giving it `input`, and returns what it writes.
QByteArray run(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return process.readAllStandardOutput();
}

TEST_F(QLXStorageManagerTest, NamesAVocabularyByItsLanguagesAndSavesItInTheVocabulariesFolder)
{
    EXPECT_EQ(QLXStorageManager::displayNameForVocabulary(*vocabulary), u"French - English"_s);
    EXPECT_EQ(store.savePathForVocabulary(*vocabulary), vocabularyFolder() + u"/French - English.qlxv"_s);
    EXPECT_EQ(store.saveUrlForVocabularyWithName(u"Latin - Greek"_s), vocabularyFolder() + u"/Latin - Greek.qlxv"_s);

    ASSERT_TRUE(saveAndWait());
    const QString path = store.savePathForVocabulary(*vocabulary).value();
    const auto loaded = store.vocabularyFromFile(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->fileNameWhereLoadedFrom(), u"French - English.qlxv"_s);
    EXPECT_EQ(QLXStorageManager::displayNameForVocabulary(*loaded), u"French - English"_s);
    ASSERT_EQ(loaded->countAllWords(), 1);
    EXPECT_TRUE(loaded->allWords().front()->isAllPropertiesEqual(*vocabulary->allWords().front()));
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());

    EXPECT_FALSE(store.saveVocabulary(nullptr));
    EXPECT_FALSE(store.saveVocabularyToQLXVFile(nullptr, path));
    EXPECT_FALSE(store.saveVocabularyToTBFFile(nullptr, path));
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

TEST_F(QLXStorageManagerTest, ALanguageNameThatIsNoFileNameIsNeverSaved)
{
    const QString writeError =
        u"The selected language '%1' could not be saved. (Write error)\nPlease restart Lexicarta and try again."_s;
    const std::pair<QString, QString> refused[] = {
        {u"../../escaped"_s, u"English"_s}, {u"a/b"_s, u"English"_s},  {u".hidden"_s, u"English"_s},
        {u".."_s, u"English"_s},            {u"Fr.qlxv"_s, u"English"_s}, {u"French"_s, u"English (2)"_s},
    };
    for (const auto &[foreign, your] : refused) {
        SCOPED_TRACE(foreign.toStdString() + " - " + your.toStdString());
        fakes.alerts.alerts.clear();
        vocabulary->setForeignLanguageName(foreign);
        vocabulary->setYourLanguageName(your);
        EXPECT_FALSE(store.savePathForVocabulary(*vocabulary));
        EXPECT_FALSE(store.saveVocabulary(vocabulary.get()));
        EXPECT_EQ(fakes.alerts.alerts, (QList<lexi::Alert>{{u"Error"_s, writeError.arg(foreign), {u"OK"_s}, 0}}));
    }
    QStringList written;
    for (QDirIterator files(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); files.hasNext();)
        written.append(files.next());
    EXPECT_TRUE(written.isEmpty()) << written.join(u'\n').toStdString();

    // Parentheses, dots inside and other scripts make names like any other.
    vocabulary->setYourLanguageName(u"English"_s);
    for (const QString &name : {u"French (Canada)"_s, u"Fr..ench"_s, u"中文 (简体)"_s}) {
        SCOPED_TRACE(name.toStdString());
        vocabulary->setForeignLanguageName(name);
        EXPECT_EQ(store.savePathForVocabulary(*vocabulary), vocabularyFolder() + u'/' + name + u" - English.qlxv"_s);
        EXPECT_TRUE(store.saveVocabulary(vocabulary.get()));
    }
}

TEST_F(QLXStorageManagerTest, OwnFormatFilesAreOneBzip2StreamOfJsonForOtherTools)
{
    const QString path = elsewhere(u"export.qlxv"_s);
    ASSERT_TRUE(store.saveVocabularyToQLXVFile(vocabulary.get(), path));
    EXPECT_TRUE(readFile(path).startsWith("BZh9"));
    const QByteArray json = run(u"bzip2"_s, {u"-dc"_s, path});
    const QJsonDocument document = QJsonDocument::fromJson(json);
    ASSERT_TRUE(document.isObject());
    EXPECT_EQ(document.object().size(), 18);
    EXPECT_EQ(document.object()["foreignLanguageName"_L1], u"French"_s);
    EXPECT_FALSE(json.contains('\n'));

    // And what the tool packs loads here.
    const QString packed = elsewhere(u"packed.qlxv"_s);
    writeFile(packed, run(u"bzip2"_s, {u"-9"_s, u"-c"_s}, R"({"language": "Latin", "shortTermWords":
                                      {"words": [{"yw": "sea", "fw": "mare"}]}})"));
    const auto loaded = store.vocabularyFromFile(packed);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->foreignLanguageName(), u"Latin"_s);
    ASSERT_EQ(loaded->countAllWords(), 1);
    EXPECT_EQ(loaded->allWords().front()->foreignWord(), u"mare"_s);
    EXPECT_EQ(loaded->allWords().front()->level(), 2u);
}

TEST_F(QLXStorageManagerTest, ArchivesAreReadByTheirExactExtension)
{
    const QString archive = elsewhere(u"Old.tbf"_s);
    ASSERT_TRUE(store.saveVocabularyToTBFFile(vocabulary.get(), archive));
    EXPECT_EQ(console.lines(), QStringList{u"VocController > saveVoc > created tbf data"_s});
    EXPECT_TRUE(readFile(archive).startsWith("bplist00"));
    const auto loaded = store.vocabularyFromFile(archive);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->fileNameWhereLoadedFrom(), u"Old.tbf"_s);
    EXPECT_EQ(loaded->allWords().front()->yourWord(), u"house"_s);

    // A file whose extension is "TBF" in capitals is read as the own format.
    const QString capitals = elsewhere(u"Capitals.TBF"_s);
    ASSERT_TRUE(store.saveVocabularyToQLXVFile(vocabulary.get(), capitals));
    EXPECT_TRUE(store.vocabularyFromFile(capitals));
    ASSERT_TRUE(store.saveVocabularyToTBFFile(vocabulary.get(), capitals));
    EXPECT_FALSE(store.vocabularyFromFile(capitals));
    ASSERT_EQ(fakes.alerts.alerts.size(), 1);
    EXPECT_TRUE(fakes.alerts.alerts[0].message.contains(u"(Decompression error)"_s));
}

TEST_F(QLXStorageManagerTest, TheExportSavesBothFormatsOffTheMainThread)
{
    // As the export sheet does: a copy of the vocabulary, written by a thread of the pool while
    // the main thread goes on.
    const auto copy = Lexicarta::create(fakes.services);
    copy->setForeignLanguageName(vocabulary->foreignLanguageName());
    lexi::WordList words;
    for (const std::shared_ptr<QLXWord> &word : vocabulary->allWords())
        words.append(word->copy());
    copy->setAllWords(words);
    const QString archive = elsewhere(u"Export.tbf"_s);
    const QString ownFormat = elsewhere(u"Export.qlxv"_s);
    bool archived = false;
    bool saved = false;
    QThreadPool::globalInstance()->start([&] {
        archived = store.saveVocabularyToTBFFile(copy.get(), archive);
        saved = store.saveVocabularyToQLXVFile(copy.get(), ownFormat);
    });
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_TRUE(archived);
    EXPECT_TRUE(saved);
    for (const QString &path : {archive, ownFormat}) {
        const auto loaded = store.vocabularyFromFile(path);
        ASSERT_TRUE(loaded) << path.toStdString();
        ASSERT_EQ(loaded->countAllWords(), 1);
        EXPECT_TRUE(loaded->allWords().front()->isAllPropertiesEqual(*vocabulary->allWords().front()));
    }
}

TEST_F(QLXStorageManagerTest, AVocabularyTooLargeToLoadAgainIsNotSaved)
{
    const QString path = store.savePathForVocabulary(*vocabulary).value();
    ASSERT_TRUE(store.saveVocabularyToQLXVFile(vocabulary.get(), path));
    const QByteArray before = readFile(path);
    const lexi::Alert alert{u"Error"_s,
                            u"The selected language 'French' could not be saved. (Compression error)\nPlease restart "
                            "Lexicarta and try again."_s,
                            {u"OK"_s},
                            0};
    // JSON beyond the bound, then one word more than a vocabulary may hold.
    const std::function<void()> enlargements[] = {
        [&] { addWord(QString(QLXStorageManager::maximumDocumentSize, u'x'), u"mot"_s); },
        [&] {
            lexi::WordList words;
            for (qsizetype i = 0; i <= QLXStorageManager::maximumWordCount; ++i)
                words.append(std::make_shared<QLXWord>());
            vocabulary->setAllWords(words);
        },
    };
    for (const std::function<void()> &enlarge : enlargements) {
        enlarge();
        fakes.alerts.alerts.clear();
        EXPECT_FALSE(store.saveVocabularyToQLXVFile(vocabulary.get(), path));
        EXPECT_EQ(fakes.alerts.alerts, QList<lexi::Alert>{alert});
        EXPECT_EQ(readFile(path), before);
    }
}

TEST_F(QLXStorageManagerTest, AFailedWriteKeepsThePreviousFileAndSaysSo)
{
    const QString path = store.savePathForVocabulary(*vocabulary).value();
    ASSERT_TRUE(saveAndWait());
    const QByteArray before = readFile(path);
    for (int i = 0; i < 2000; ++i)
        addWord(u"word %1"_s.arg(i), u"mot %1"_s.arg(i));

    // Files may not grow beyond what is there: writing the larger vocabulary fails half-way.
    // The save handed to the background fails there: the alert comes on the main thread.
    bool ownFormat = false;
    bool archive = false;
    {
        lexi::test::FileSizeLimit limit(rlim_t(before.size()));
        EXPECT_TRUE(saveAndWait());
        ownFormat = store.saveVocabularyToQLXVFile(vocabulary.get(), path);
        archive = store.saveVocabularyToTBFFile(vocabulary.get(), path);
    }

    EXPECT_FALSE(ownFormat);
    EXPECT_FALSE(archive);
    const QString message = u"The selected language 'French' could not be saved. (Write error)\nPlease restart "
                            "Lexicarta and try again."_s;
    EXPECT_EQ(fakes.alerts.alerts, QList<lexi::Alert>(3, {u"Error"_s, message, {u"OK"_s}, 0}));
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(QDir(vocabularyFolder()).entryList(QDir::Files), QStringList{u"French - English.qlxv"_s});

    fakes.alerts.alerts.clear();
    EXPECT_FALSE(store.saveVocabularyToQLXVFile(vocabulary.get(), elsewhere(u"no such folder/x.qlxv"_s)));
    EXPECT_FALSE(store.saveVocabularyToTBFFile(vocabulary.get(), elsewhere(u"no such folder/x.tbf"_s)));
    EXPECT_EQ(fakes.alerts.alerts.size(), 2);
}

TEST_F(QLXStorageManagerTest, AKillInTheMiddleOfASaveLeavesAFileThatLoads)
{
    QProcess probe;
    probe.start(QString::fromUtf8(SAVE_ABORT_PROBE), {root.path()});
    ASSERT_TRUE(probe.waitForFinished(60000));
    // The probe saved 10 words, then died of the file size limit while writing 5000.
    EXPECT_EQ(probe.exitStatus(), QProcess::CrashExit) << probe.readAllStandardError().toStdString();
    const QString path = vocabularyFolder() + u"/Probe - Test.qlxv"_s;
    const auto loaded = store.vocabularyFromFile(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->countAllWords(), 10);
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

TEST_F(QLXStorageManagerTest, AKillDuringABackgroundSaveLeavesAFileThatLoads)
{
    QProcess probe;
    probe.start(QString::fromUtf8(SAVE_ABORT_PROBE), {root.path(), u"background"_s});
    ASSERT_TRUE(probe.waitForReadyRead(60000)) << probe.readAllStandardError().toStdString();
    EXPECT_EQ(probe.readLine(), "handed over\n");
    // kill -9 while the worker compresses or writes the large vocabulary.
    probe.kill();
    ASSERT_TRUE(probe.waitForFinished(60000));
    EXPECT_EQ(probe.exitStatus(), QProcess::CrashExit);
    const auto loaded = store.vocabularyFromFile(vocabularyFolder() + u"/Probe - Test.qlxv"_s);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->countAllWords() == 10 || loaded->countAllWords() == 200010) << loaded->countAllWords();
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

TEST_F(QLXStorageManagerTest, TheAnswersHandedOverAreWrittenByTheFlushAtQuit)
{
    const QString path = store.savePathForVocabulary(*vocabulary).value();
    const std::shared_ptr<QLXWord> word = vocabulary->allWords().front();
    const auto savedWord = [this, &path] {
        const auto loaded = store.vocabularyFromFile(path);
        return loaded ? loaded->allWords().value(0) : nullptr;
    };
    {
        QLXStorageManager quitting(folders, fakes.services, workspace);
        for (const int answer : {1, 1, -1}) {
            fakes.clock.advance(10s);
            vocabulary->answeredWord(*word, answer);
            ASSERT_TRUE(quitting.saveVocabulary(vocabulary.get()));
        }
        quitting.flushSaves();
        ASSERT_TRUE(savedWord());
        EXPECT_TRUE(savedWord()->isAllPropertiesEqual(*word));

        // The store going away at quit writes what was handed over last.
        fakes.clock.advance(10s);
        vocabulary->answeredWord(*word, 1);
        ASSERT_TRUE(quitting.saveVocabulary(vocabulary.get()));
    }
    ASSERT_TRUE(savedWord());
    EXPECT_TRUE(savedWord()->isAllPropertiesEqual(*word));
    EXPECT_EQ(savedWord()->level(), 3u);
}

TEST_F(QLXStorageManagerTest, ABackupAtMostEvery900SecondsOfSavesIntoTheVocabulariesFolder)
{
    // An export elsewhere makes none and leaves the slot free.
    ASSERT_TRUE(store.saveVocabularyToQLXVFile(vocabulary.get(), elsewhere(u"French - English.qlxv"_s)));
    EXPECT_TRUE(backups().isEmpty());

    ASSERT_TRUE(saveAndWait());
    EXPECT_EQ(backups(), QStringList{u"French - English-2015-05-03-14-05-09.qlxv"_s});
    const QString first = QDir(backupFolder()).filePath(backups().front());
    EXPECT_EQ(readFile(first), readFile(store.savePathForVocabulary(*vocabulary).value()));

    const struct
    {
        std::chrono::seconds after;
        qsizetype backups;
    } steps[] = {{600s, 1}, {300s, 1}, {60s, 2}, {900s, 2}, {1s, 3}};
    for (const auto &step : steps) {
        fakes.clock.advance(step.after);
        // Each save writes a change: an unchanged vocabulary writes nothing (see below).
        vocabulary->setVersion(vocabulary->version() + 1);
        ASSERT_TRUE(saveAndWait());
        EXPECT_EQ(backups().size(), step.backups) << step.after.count();
    }
    EXPECT_TRUE(backups().contains(u"French - English-2015-05-03-14-21-09.qlxv"_s));
}

// A save of a vocabulary unchanged since it was loaded or last saved writes nothing and makes no
// backup, which would only be one more copy of the file; any change, or a file changed by someone
// else, is written.
TEST_F(QLXStorageManagerTest, AnUnchangedVocabularyIsNotWrittenAgain)
{
    ASSERT_TRUE(saveAndWait());
    const QString path = store.savePathForVocabulary(*vocabulary).value();
    const auto modified = [&path] { return QFileInfo(path).lastModified().toMSecsSinceEpoch(); };
    ASSERT_EQ(backups().size(), 1);
    QFile::remove(QDir(backupFolder()).filePath(backups().front()));
    const qint64 written = modified();

    fakes.clock.advance(3600s);
    ASSERT_TRUE(saveAndWait());
    const std::shared_ptr<Lexicarta> loaded = store.vocabularyFromFile(path);
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(store.saveVocabulary(loaded.get()));
    store.flushSaves();
    EXPECT_EQ(modified(), written);
    EXPECT_TRUE(backups().isEmpty());

    loaded->allWords().front()->setComment(u"changed"_s);
    ASSERT_TRUE(store.saveVocabulary(loaded.get()));
    store.flushSaves();
    EXPECT_EQ(store.vocabularyFromFile(path)->allWords().front()->comment(), u"changed"_s);
    EXPECT_EQ(backups().size(), 1);

    // Written over by another program: the file no longer holds what was saved.
    QFile::remove(path);
    fakes.clock.advance(3600s);
    ASSERT_TRUE(store.saveVocabulary(loaded.get()));
    store.flushSaves();
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(QLXStorageManagerTest, ABackupThatCannotBeWrittenIsLoggedAndTriedAgainAtTheNextSave)
{
    // Asking for the folder makes it again: the path is taken once.
    const QString folder = backupFolder();
    QDir(folder).removeRecursively();
    writeFile(folder, "a file where the backups folder belongs");
    auto logger = std::make_shared<RecordingLogger>();
    QLXLog::addLogger(logger);
    EXPECT_TRUE(saveAndWait());
    QLXLog::flushLog();
    QLXLog::removeLogger(logger);
    ASSERT_EQ(logger->texts().size(), 1);
    EXPECT_TRUE(logger->texts()[0].startsWith(
        u"StorageM > backup > could not write "_s + folder + u"/French - English-2015-05-03-14-05-09.qlxv: "_s))
        << logger->texts()[0].toStdString();
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());

    // The slot was not used up: the next save makes the backup.
    QFile::remove(folder);
    fakes.clock.advance(1s);
    vocabulary->setVersion(vocabulary->version() + 1);
    ASSERT_TRUE(saveAndWait());
    EXPECT_EQ(backups(), QStringList{u"French - English-2015-05-03-14-05-10.qlxv"_s});
}

TEST_F(QLXStorageManagerTest, ALargeVocabularySavesAndLoadsInBothFormats)
{
    lexi::WordList words = vocabulary->allWords();
    for (int i = 0; i < 60000; ++i) {
        auto word = std::make_shared<QLXWord>(u"your word number %1"_s.arg(i), u"foreign word number %1"_s.arg(i),
                                              u"comment %1"_s.arg(i));
        word->setLevel(quint64(i % 6));
        word->setLastAsked(Date::fromSecondsSince1970(1400000000.0 + i));
        word->setCreationID(i + 1);
        words.append(word);
    }
    vocabulary->setAllWords(words);
    const QString path = store.savePathForVocabulary(*vocabulary).value();
    ASSERT_TRUE(saveAndWait());
    const QString archive = elsewhere(u"large.tbf"_s);
    ASSERT_TRUE(store.saveVocabularyToTBFFile(vocabulary.get(), archive));
    // Far more JSON than the 4 MiB the older product could unpack.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_GT(lexi::Bzip2::decompressed(file, QLXStorageManager::maximumDocumentSize).data.size(), 4194304);

    for (const QString &saved : {path, archive}) {
        const auto loaded = store.vocabularyFromFile(saved);
        ASSERT_TRUE(loaded) << saved.toStdString();
        EXPECT_EQ(loaded->countAllWords(), 60001);
        EXPECT_EQ(loaded->level5Words().size(), vocabulary->level5Words().size());
        EXPECT_EQ(loaded->level5Words().back()->comment(), vocabulary->level5Words().back()->comment());
    }
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

class TidyBackupsTest : public QLXStorageManagerTest
{
protected:
    void backup(const QString &name, std::chrono::hours age)
    {
        const QString path = QDir(backupFolder()).filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path, "backup");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(fakes.clock.now().addingSeconds(-double(std::chrono::seconds(age).count()))
                                         .toDateTime(),
                                     QFileDevice::FileModificationTime));
    }

    QStringList remaining() const
    {
        QStringList files;
        QDirIterator entries(backupFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (entries.hasNext())
            files.append(QDir(backupFolder()).relativeFilePath(entries.next()));
        files.sort();
        return files;
    }
};

TEST_F(TidyBackupsTest, OldBackupsGoOnlyWhileMoreThan20EntriesRemain)
{
    const std::chrono::hours old = 24h * 30 + 1h;
    const std::chrono::hours recent = 24h * 29;
    const struct
    {
        const char *what;
        int recentFiles;
        int oldFiles;
        bool inSubfolder;
        int remaining;
    } cases[] = {
        {"only 5 old files", 0, 5, false, 5},
        {"30 recent and 5 old files", 30, 5, false, 30},
        {"20 recent and 1 old file: 21 entries", 20, 1, false, 21},
        {"21 recent and 1 old file", 21, 1, false, 21},
        {"19 recent files, a subfolder and 1 old file in it", 19, 1, true, 20},
        {"20 recent files, a subfolder and 1 old file in it", 20, 1, true, 20},
    };
    for (const auto &c : cases) {
        QDir(backupFolder()).removeRecursively();
        for (int i = 0; i < c.recentFiles; ++i)
            backup(u"recent %1.qlxv"_s.arg(i), recent);
        for (int i = 0; i < c.oldFiles; ++i)
            backup((c.inSubfolder ? u"older/old %1.qlxv"_s : u"old %1.qlxv"_s).arg(i), old);
        // Hidden files neither count nor go.
        backup(u".hidden.qlxv"_s, old);
        store.tidyBackups();
        QThreadPool::globalInstance()->waitForDone();
        const QStringList files = remaining();
        EXPECT_EQ(files.size() - 1, c.remaining) << c.what;
        EXPECT_TRUE(files.contains(u".hidden.qlxv"_s)) << c.what;
    }
}

} // namespace
