#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace lexi::test {

// Entries of the file system that are no regular files, for loaders to refuse: in a folder, each
// named after its kind with the extension given.
class NonRegularFiles
{
public:
    struct Entry
    {
        const char *kind;
        QString path;
    };

    // A FIFO nobody writes to, a link to /dev/zero (a device, whose size reads 0) and a folder.
    NonRegularFiles(const QString &folder, const QString &extension);

    const QList<Entry> &entries() const { return m_entries; }

    // Runs `load` and tells whether it ended without waiting for a writer of the FIFO. A loader
    // that waits in vain is let go after 10 s: then a writer opens the FIFO and closes it again,
    // so the loader reads an empty file, and the answer is no.
    bool endsWithoutWriter(const std::function<void()> &load) const;

private:
    QString m_fifo;
    QList<Entry> m_entries;
};

} // namespace lexi::test
