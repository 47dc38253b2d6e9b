#include "VocabularySummaryCache.h"

#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"

#include <QFile>

#include <sys/stat.h>

namespace lexi {

VocabularySummaryCache::VocabularySummaryCache(const QLXStorageManager &storage) : m_storage(storage) {}

VocabularySummaryCache::~VocabularySummaryCache()
{
    // Files still queued are not read; the one being read finishes before the queue goes.
    m_gone->store(true);
}

std::optional<VocabularySummaryCache::FileKey> VocabularySummaryCache::keyOf(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileKey{qint64(status.st_size), qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec,
                   quint64(status.st_dev), quint64(status.st_ino)};
}

QList<VocabularySummaryCache::Entry> VocabularySummaryCache::summaries(const QList<QLXFile> &files,
                                                                        dispatch::Block updated,
                                                                        const std::optional<OpenVocabulary> &open)
{
    QList<Entry> entries;
    QList<std::pair<QString, FileKey>> toRead;
    {
        std::lock_guard lock(m_mutex);
        QHash<QString, Known> stillThere;
        for (const QLXFile &file : files) {
            const QString &path = file.filePath();
            if (open && path == open->path) {
                entries.append({file, open->summary});
                continue;
            }
            const std::optional<FileKey> key = keyOf(path);
            if (!key)
                continue;
            const auto known = m_known.constFind(path);
            if (known != m_known.cend() && known->key == *key) {
                stillThere.insert(path, *known);
                if (known->summary)
                    entries.append({file, *known->summary});
                continue;
            }
            const auto reading = m_reading.constFind(path);
            if (reading == m_reading.cend() || !(*reading == *key)) {
                m_reading.insert(path, *key);
                toRead.append({path, *key});
            }
        }
        m_known = std::move(stillThere);
    }
    if (toRead.isEmpty())
        return entries;

    for (const auto &[path, key] : toRead)
        m_queue.async([this, gone = m_gone, path, key] {
            if (!gone->load())
                read(path, key);
        });
    ++m_undeliveredUpdates;
    m_queue.async([this, gone = m_gone, updated = std::move(updated)] {
        if (gone->load())
            return;
        QMetaObject::invokeMethod(
            &m_mainThreadContext,
            [this, updated] {
                --m_undeliveredUpdates;
                if (updated)
                    updated();
            },
            Qt::QueuedConnection);
    });
    return entries;
}

void VocabularySummaryCache::read(const QString &path, const FileKey &key)
{
    const std::shared_ptr<Lexicarta> vocabulary = m_storage.vocabularyFromFile(path);
    Known known{key, vocabulary ? std::optional(VocabularySummary::of(*vocabulary)) : std::nullopt};
    std::lock_guard lock(m_mutex);
    const auto reading = m_reading.constFind(path);
    if (reading != m_reading.cend() && *reading == key)
        m_reading.erase(reading);
    m_known.insert(path, std::move(known));
}

bool VocabularySummaryCache::isReading() const
{
    std::lock_guard lock(m_mutex);
    return !m_reading.isEmpty() || m_undeliveredUpdates > 0;
}

void VocabularySummaryCache::waitUntilRead()
{
    m_queue.sync([] {});
}

} // namespace lexi
