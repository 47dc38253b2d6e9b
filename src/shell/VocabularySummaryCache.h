#pragma once

#include "VocabularySummary.h"

#include "model/QLXFile.h"
#include "platform/dispatch/Block.h"
#include "platform/dispatch/SerialQueue.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

class QLXStorageManager;

namespace lexi {

// The summaries of the vocabulary files, read on a thread of the cache's own, so that listing
// the languages never loads a whole vocabulary on the main thread. A file's summary is kept
// while the file has the same size, modification time and identity; a changed file is read
// again. Made and asked on the main thread.
class VocabularySummaryCache
{
public:
    struct Entry
    {
        QLXFile file;
        VocabularySummary summary;
    };

    // `storage` must outlive the cache.
    explicit VocabularySummaryCache(const QLXStorageManager &storage);
    ~VocabularySummaryCache();

    VocabularySummaryCache(const VocabularySummaryCache &) = delete;
    VocabularySummaryCache &operator=(const VocabularySummaryCache &) = delete;

    // The vocabulary that is open, and the file it is saved to.
    struct OpenVocabulary
    {
        QString path;
        VocabularySummary summary;
    };

    // The summaries of those of `files` that were read as they are now, in the order of `files`;
    // files that do not load are left out. The file of the open vocabulary is not read: its
    // summary is `open`'s. The others are read one after another on the cache's thread; once all
    // of them are, `updated` runs on the main thread (unless the cache is gone by then). A file
    // that did not load is read again only once it changes.
    QList<Entry> summaries(const QList<QLXFile> &files, dispatch::Block updated,
                           const std::optional<OpenVocabulary> &open = std::nullopt);
    // Whether files handed over are still being read, or their `updated` has yet to run.
    bool isReading() const;
    // Waits until every file handed over has been read; `updated` blocks are still to run on the
    // main thread.
    void waitUntilRead();

private:
    struct FileKey
    {
        qint64 size = 0;
        qint64 modifiedNanoseconds = 0;
        quint64 device = 0;
        quint64 inode = 0;

        friend bool operator==(const FileKey &, const FileKey &) = default;
    };
    struct Known
    {
        FileKey key;
        // Nothing when the file did not load.
        std::optional<VocabularySummary> summary;
    };

    static std::optional<FileKey> keyOf(const QString &path);
    void read(const QString &path, const FileKey &key);

    const QLXStorageManager &m_storage;
    mutable std::mutex m_mutex;
    QHash<QString, Known> m_known;
    // Files handed to the thread and not yet read, with the key they had then.
    QHash<QString, FileKey> m_reading;
    // Hand-overs whose `updated` has not run yet; main thread.
    int m_undeliveredUpdates = 0;
    const std::shared_ptr<std::atomic<bool>> m_gone = std::make_shared<std::atomic<bool>>(false);
    // Receives the `updated` blocks on the main thread; they die with it.
    QObject m_mainThreadContext;
    // Last, so that the thread has stopped before anything it uses goes away.
    dispatch::SerialQueue m_queue{"lexicarta.vocabulary-summaries"};
};

} // namespace lexi
