#include "QLXStorageManager.h"

#include "Bzip2.h"
#include "VocabularyFileName.h"
#include "VocabularyJsonReader.h"
#include "VocabularyJsonWriter.h"

#include "logging/QLXLogMacros.h"
#include "platform/dispatch/Dispatch.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/RegularFile.h"
#include "platform/files/StringTables.h"
#include "platform/plist/KeyedArchive.h"
#include "platform/ports/Console.h"
#include "platform/values/Format.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr int qlxLogLevel = QLXLogLevelWarn;

constexpr double oldBackupAge = 2592000.0;
constexpr qsizetype backupsAlwaysKept = 20;

const QString fileReadError = u"The selected language '%@' could not be loaded. (File read error)\nGo to '%@' to "
                              "restore from the last backup copy."_s;
const QString decompressionError = u"The selected language '%@' could not be loaded. (Decompression error)\nGo to "
                                   "'%@' to restore from the last backup copy."_s;
const QString fileFormatError = u"The selected language '%@' could not be loaded. (File format error)\nGo to '%@' "
                                "to restore from the last backup copy."_s;
const QString compressionError =
    u"The selected language '%@' could not be saved. (Compression error)\nPlease restart Lexicarta and try again."_s;
const QString writeError =
    u"The selected language '%@' could not be saved. (Write error)\nPlease restart Lexicarta and try again."_s;

QString text(const QString &key)
{
    return lexi::StringTables::text(key);
}

// The file's name without its extension, as the learner knows the vocabulary.
QString vocabularyNameOfFile(const QString &path)
{
    return QFileInfo(path).completeBaseName();
}

// Deletes the files below `folder` last written more than 30 days before `now`, but only when more
// than 20 entries (folders counted) remain.
void deleteOldBackups(const QString &folder, lexi::Date now)
{
    QDirIterator entries(folder, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    qsizetype total = 0;
    QStringList old;
    while (entries.hasNext()) {
        const QFileInfo entry = entries.nextFileInfo();
        ++total;
        if (!entry.isDir() && now.secondsSince(lexi::Date::fromDateTime(entry.lastModified())) > oldBackupAge)
            old.append(entry.filePath());
    }
    if (old.size() >= total - backupsAlwaysKept)
        return;
    for (const QString &path : old)
        QFile::remove(path);
}

// Pieces of a vocabulary's JSON text on their way from one thread to another: from the one that
// decompresses a file to the one that reads it, from the one that writes the text to the one that
// compresses it. Holds a few at most, so that neither side holds the whole text for the other.
class PieceQueue
{
public:
    // Waits for room; NO once the taking side has stopped.
    bool push(QByteArray piece)
    {
        std::unique_lock lock(m_mutex);
        m_room.wait(lock, [this] { return m_stopped || m_pieces.size() < capacity; });
        if (m_stopped)
            return false;
        m_pieces.push_back(std::move(piece));
        m_ready.notify_one();
        return true;
    }

    // No more pieces come.
    void close()
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_ready.notify_one();
    }

    // The next piece; an empty one at the end.
    QByteArray pop()
    {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return m_closed || !m_pieces.empty(); });
        if (m_pieces.empty())
            return {};
        QByteArray piece = std::move(m_pieces.front());
        m_pieces.pop_front();
        m_room.notify_one();
        return piece;
    }

    // The taking side needs no more pieces.
    void stop()
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
        m_room.notify_one();
    }

private:
    static constexpr size_t capacity = 32;

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_room;
    std::deque<QByteArray> m_pieces;
    bool m_closed = false;
    bool m_stopped = false;
};

} // namespace

QLXStorageManager::QLXStorageManager(const lexi::ApplicationFolders &folders, const lexi::VocabularyServices &services,
                                     lexi::Workspace &workspace)
    : m_folders(folders), m_services(services), m_workspace(workspace)
{
}

QString QLXStorageManager::displayNameForVocabulary(const Lexicarta &vocabulary)
{
    return u"%1 - %2"_s.arg(vocabulary.foreignLanguageName(), vocabulary.yourLanguageName());
}

std::optional<QString> QLXStorageManager::savePathForVocabulary(const Lexicarta &vocabulary) const
{
    return saveUrlForVocabularyWithName(displayNameForVocabulary(vocabulary));
}

std::optional<QString> QLXStorageManager::saveUrlForVocabularyWithName(const QString &name) const
{
    const std::optional<QString> fileName = lexi::vocabularyFileNameForName(name);
    if (!fileName)
        return std::nullopt;
    return m_folders.vocabularyFolderPath() + u'/' + *fileName;
}

bool QLXStorageManager::saveVocabulary(const Lexicarta *vocabulary)
{
    if (!vocabulary)
        return false;
    const std::optional<QString> path = savePathForVocabulary(*vocabulary);
    if (!path) {
        QLXLogError("StorageM > saveVocabulary > no file can be named %@", displayNameForVocabulary(*vocabulary));
        showSaveAlert(vocabulary->foreignLanguageName(), writeError);
        return false;
    }
    if (!lexi::dispatch::isMainThread())
        return saveVocabularyToQLXVFile(vocabulary, *path);
    const quint64 number = ++m_savesHandedOver[*path];
    m_saver.save(*path, [this, snapshot = std::make_shared<const lexi::VocabularySnapshot>(*vocabulary), path = *path,
                         time = saveTime(), number]() -> lexi::dispatch::Block {
        // A file that holds this vocabulary already is not written again: that would only push a
        // backup of an earlier state out of the backups. It is reported as saved all the same.
        const bool alreadyOnDisk = holds(path, *snapshot);
        const std::optional<QString> failure = alreadyOnDisk ? std::nullopt : writeOwnFormat(*snapshot, path, time);
        if (!failure) {
            if (!alreadyOnDisk)
                remember(path, snapshot);
            return [this, path, number, written = lexi::fileStamp(path).value_or(lexi::FileStamp())] {
                if (m_saveObserver)
                    m_saveObserver(path, written, m_savesHandedOver.value(path) == number);
            };
        }
        return [this, name = snapshot->foreignLanguageName, message = *failure] { showSaveAlert(name, message); };
    });
    return true;
}

bool QLXStorageManager::saveVocabularyToQLXVFile(const Lexicarta *vocabulary, const QString &path)
{
    if (!vocabulary)
        return false;
    const std::optional<lexi::Alert> failure = writeVocabularyToQLXVFile(*vocabulary, path);
    if (failure)
        m_services.alertPresenter.runModal(*failure);
    return !failure;
}

std::optional<lexi::Alert> QLXStorageManager::writeVocabularyToQLXVFile(const Lexicarta &vocabulary,
                                                                       const QString &path)
{
    m_saver.flush();
    const std::optional<QString> failure = writeOwnFormat(lexi::VocabularySnapshot(vocabulary), path, saveTime());
    if (!failure)
        return std::nullopt;
    return saveAlert(vocabulary.foreignLanguageName(), *failure);
}

void QLXStorageManager::setSaveObserver(SaveObserver observer)
{
    m_saveObserver = std::move(observer);
}

void QLXStorageManager::flushSaves()
{
    m_saver.flush();
}

QLXStorageManager::SaveTime QLXStorageManager::saveTime() const
{
    return {m_services.clock.now(), m_services.clock.monotonicNow()};
}

namespace {

qsizetype wordCount(const lexi::VocabularySnapshot &snapshot)
{
    qsizetype count = 0;
    for (const auto &level : snapshot.levels)
        count += level.size();
    return count;
}

bool isWithinCounts(const lexi::VocabularySnapshot &snapshot)
{
    return wordCount(snapshot) <= QLXStorageManager::maximumWordCount
        && snapshot.dailySnapshots.size() <= QLXStorageManager::maximumWordCount;
}

} // namespace

bool QLXStorageManager::fitsOwnFormat(const lexi::VocabularySnapshot &snapshot)
{
    if (!isWithinCounts(snapshot))
        return false;
    // Measured as the save writes it, without keeping the text.
    qsizetype jsonSize = 0;
    lexi::VocabularyJsonWriter::write(snapshot, [&jsonSize](const QByteArray &piece) {
        jsonSize += piece.size();
        return jsonSize <= maximumDocumentSize;
    });
    return jsonSize <= maximumDocumentSize;
}

std::optional<QByteArray> QLXStorageManager::ownFormatData(const lexi::VocabularySnapshot &snapshot)
{
    if (!isWithinCounts(snapshot)) {
        QLXLogError("StorageM > saveVocabulary > %@ has more than %ld words or daily snapshots",
                    snapshot.foreignLanguageName, maximumWordCount);
        return std::nullopt;
    }
    // The text is written on a second thread while this one compresses what is there.
    PieceQueue pieces;
    qsizetype jsonSize = 0;
    std::thread writing([&snapshot, &pieces, &jsonSize] {
        lexi::VocabularyJsonWriter::write(snapshot, [&pieces, &jsonSize](QByteArray piece) {
            jsonSize += piece.size();
            // A file that unpacks to more than loading takes could never be loaded again.
            return jsonSize <= maximumDocumentSize && pieces.push(std::move(piece));
        });
        pieces.close();
    });
    std::optional<QByteArray> compressed = lexi::Bzip2::compressed([&pieces] { return pieces.pop(); });
    pieces.stop();
    writing.join();
    if (jsonSize > maximumDocumentSize) {
        QLXLogError("StorageM > saveVocabulary > %@ needs more than %ld bytes of JSON", snapshot.foreignLanguageName,
                    maximumDocumentSize);
        return std::nullopt;
    }
    return compressed;
}

std::optional<QString> QLXStorageManager::writeOwnFormat(const lexi::VocabularySnapshot &snapshot,
                                                         const QString &path, const SaveTime &time)
{
    const std::optional<QByteArray> compressed = ownFormatData(snapshot);
    if (!compressed)
        return compressionError;
    if (!lexi::writeFileAtomically(path, *compressed))
        return writeError;
    backUpIfDue(path, *compressed, time);
    return std::nullopt;
}

bool QLXStorageManager::saveVocabularyToTBFFile(const Lexicarta *vocabulary, const QString &path) const
{
    if (!vocabulary)
        return false;
    const QByteArray archive = lexi::KeyedArchive::archivedData(*vocabulary);
    lexi::Console::writeLine(u"VocController > saveVoc > created tbf data"_s);
    if (!lexi::writeFileAtomically(path, archive)) {
        showSaveAlert(vocabulary->foreignLanguageName(), writeError);
        return false;
    }
    return true;
}

void QLXStorageManager::backUpIfDue(const QString &savedPath, const QByteArray &contents, const SaveTime &time)
{
    // Exports and copies elsewhere are no vocabularies of this installation.
    if (!isInVocabularyFolder(savedPath))
        return;
    const lexi::Clock::Duration now = time.monotonicNow;
    // Saves on the main thread and on the synchronisation's queue share the one slot.
    const std::lock_guard lock(m_backupMutex);
    if (m_lastBackup && now - *m_lastBackup <= backupInterval)
        return;
    // A name of its own, so that no backup the synchronisation made in the same second is replaced.
    const QString path =
        lexi::newBackupPath(m_folders.backupFolderPath(), QFileInfo(savedPath).fileName(), time.now);
    // A backup that cannot be written is no reason to fail the save; the next save tries again.
    if (const auto written = lexi::writeFileAtomically(path, contents, lexi::NoFile()); !written) {
        QLXLogWarn("StorageM > backup > could not write %@: %@", path, written.error());
        return;
    }
    m_lastBackup = now;
}

bool QLXStorageManager::isInVocabularyFolder(const QString &path) const
{
    return QFileInfo(path).canonicalPath() == QFileInfo(m_folders.vocabularyFolderPath()).canonicalFilePath();
}

std::shared_ptr<Lexicarta> QLXStorageManager::vocabularyFromFile(const QString &path) const
{
    return shown(loadFile(path));
}

QLXStorageManager::Loaded QLXStorageManager::loadFile(const QString &path) const
{
    const bool isArchive = QFileInfo(path).suffix() == u"tbf"_s;
    Loaded loaded = isArchive ? loadTBFFile(path) : loadQLXVFile(path);
    if (loaded.vocabulary) {
        loaded.vocabulary->setFileNameWhereLoadedFrom(QFileInfo(path).fileName());
        // Its words' stored forms were made when the load checked that it can be saved again,
        // so this snapshot only shares them.
        if (!isArchive)
            remember(path, std::make_shared<const lexi::VocabularySnapshot>(*loaded.vocabulary));
    }
    return loaded;
}

void QLXStorageManager::remember(const QString &path, std::shared_ptr<const lexi::VocabularySnapshot> snapshot) const
{
    const QFileInfo file(path);
    const std::lock_guard lock(m_knownFilesMutex);
    m_knownFiles.insert(file.absoluteFilePath(),
                        {std::move(snapshot), file.size(), file.lastModified().toMSecsSinceEpoch()});
}

bool QLXStorageManager::holds(const QString &path, const lexi::VocabularySnapshot &snapshot) const
{
    const QFileInfo file(path);
    const std::lock_guard lock(m_knownFilesMutex);
    const auto known = m_knownFiles.constFind(file.absoluteFilePath());
    return known != m_knownFiles.cend() && file.exists() && file.size() == known->size
           && file.lastModified().toMSecsSinceEpoch() == known->modified && snapshot == *known->snapshot;
}

QLXStorageManager::Loaded QLXStorageManager::loadQLXVFile(const QString &path, lexi::WorkProgress *progress) const
{
    if (path.isEmpty()) {
        QLXLogError("StorageM > vocFromQLXVFile > path is nil");
        return {};
    }
    const auto file = lexi::openRegularFile(path);
    if (!file) {
        QLXLogWarn("StorageM > vocFromQLXVFile > can't open %@: %@", path, file.error());
        return {nullptr, loadAlert(path, fileReadError)};
    }
    // Decompressed on a second thread while the text is read on this one.
    PieceQueue pieces;
    std::optional<lexi::Bzip2::Failure> failure;
    QIODevice &input = **file;
    std::thread decompression([&input, &pieces, &failure, progress] {
        failure = lexi::Bzip2::decompress(input, maximumDocumentSize, [&](QByteArray piece) {
            if (progress)
                progress->set(input.pos(), input.size());
            return pieces.push(std::move(piece));
        });
        pieces.close();
    });
    lexi::VocabularyJsonReader::Result read =
        lexi::VocabularyJsonReader::read([&pieces] { return pieces.pop(); }, m_services, maximumWordCount);
    pieces.stop();
    decompression.join();
    if (!failure && read.outcome == lexi::VocabularyJsonReader::Outcome::refused) {
        // The whole text's reader takes numbers too large for a double, QJsonDocument a few
        // oddities (see VocabularyJsonReader); and the decompression may have stopped before it
        // met damaged data.
        input.seek(0);
        lexi::Bzip2::Decompressed json = lexi::Bzip2::decompressed(input, maximumDocumentSize);
        failure = json.failure;
        if (!failure)
            read = lexi::VocabularyJsonReader::read(json.data, m_services, maximumWordCount);
        if (!failure && read.outcome == lexi::VocabularyJsonReader::Outcome::refused)
            read = readWithQJsonDocument(json.data);
    }
    if (failure)
        return {nullptr, loadAlert(path, *failure == lexi::Bzip2::Failure::readError ? fileReadError : decompressionError)};
    // A vocabulary the save could not write is refused as one beyond the bound of the JSON: the
    // learner's work in it would never be kept.
    if (read.outcome == lexi::VocabularyJsonReader::Outcome::tooLarge
        || (read.vocabulary && !fitsOwnFormat(lexi::VocabularySnapshot(*read.vocabulary))))
        return {nullptr, loadAlert(path, decompressionError)};
    // An empty vocabulary in place of one that did not parse would be saved over the damaged file.
    if (read.outcome != lexi::VocabularyJsonReader::Outcome::read)
        return {nullptr, loadAlert(path, fileFormatError)};
    return {read.vocabulary, std::nullopt};
}

std::shared_ptr<Lexicarta> QLXStorageManager::vocabularyFromQLXVFile(const QString &path) const
{
    return shown(loadQLXVFile(path));
}

lexi::VocabularyJsonReader::Result QLXStorageManager::readWithQJsonDocument(const QByteArray &json) const
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()
        || !Lexicarta::isVocabularyDocument(document.object()))
        return {lexi::VocabularyJsonReader::Outcome::notAVocabulary, nullptr};
    return {lexi::VocabularyJsonReader::Outcome::read, Lexicarta::initWithDictionary(document.object(), m_services)};
}

QLXStorageManager::Loaded QLXStorageManager::loadTBFFile(const QString &path) const
{
    if (path.isEmpty()) {
        QLXLogError("StorageM > vocFromQLXVFile > path is nil");
        return {};
    }
    if (!QFile::exists(path))
        return {};
    std::shared_ptr<Lexicarta> vocabulary;
    const auto file = lexi::openRegularFile(path);
    if (!file)
        QLXLogWarn("StorageM > vocFromTBFFile > can't open %@: %@", path, file.error());
    else if (const std::optional<QByteArray> data = lexi::readWithin(**file, maximumArchiveSize)) {
        const std::unique_ptr<lexi::KeyedArchive> archive = lexi::KeyedArchive::fromData(*data);
        std::optional<lexi::KeyedDecoder> root;
        if (archive)
            root = archive->rootObjectDecoder(Lexicarta::archiveClassName);
        if (root)
            vocabulary = Lexicarta::initWithCoder(*root, m_services);
    }
    // An archive is read to be kept in the own format.
    if (vocabulary && !fitsOwnFormat(lexi::VocabularySnapshot(*vocabulary)))
        vocabulary = nullptr;
    if (!vocabulary)
        return {nullptr, lexi::Alert{text(u"Error"_s),
                                     lexi::format(text(u"The selected language '%@' could not be loaded."_s),
                                                  vocabularyNameOfFile(path)),
                                     {text(u"OK"_s)},
                                     0}};
    return {vocabulary, std::nullopt};
}

std::shared_ptr<Lexicarta> QLXStorageManager::vocabularyFromTBFFile(const QString &path) const
{
    return shown(loadTBFFile(path));
}

std::shared_ptr<Lexicarta> QLXStorageManager::shown(Loaded loaded) const
{
    if (loaded.failure)
        showLoadFailure(*loaded.failure);
    return std::move(loaded.vocabulary);
}

void QLXStorageManager::tidyBackups() const
{
    lexi::dispatch::globalAsync(
        [folder = m_folders.backupFolderPath(), now = m_services.clock.now()] { deleteOldBackups(folder, now); });
}

lexi::Alert QLXStorageManager::saveAlert(const QString &foreignLanguageName, const QString &messageKey)
{
    return {text(u"Error"_s), lexi::format(text(messageKey), foreignLanguageName), {text(u"OK"_s)}, 0};
}

void QLXStorageManager::showSaveAlert(const QString &foreignLanguageName, const QString &messageKey) const
{
    m_services.alertPresenter.runModal(saveAlert(foreignLanguageName, messageKey));
}

lexi::Alert QLXStorageManager::loadAlert(const QString &path, const QString &messageKey) const
{
    return {text(u"Error"_s), lexi::format(text(messageKey), vocabularyNameOfFile(path), m_folders.backupFolderPath()),
            {text(u"OK"_s), text(u"Go to backups folder"_s)},
            0};
}

void QLXStorageManager::showLoadFailure(const lexi::Alert &alert) const
{
    const int button = m_services.alertPresenter.runModal(alert);
    if (button == 1 && alert.buttons.size() > 1)
        m_workspace.openFolder(m_folders.backupFolderPath());
}
