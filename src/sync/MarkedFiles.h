#pragma once

#include <QSet>
#include <QString>

#include <mutex>

namespace lexi {

// The names (with extension) of the local vocabulary files changed since their last upload.
// The program marks them as it saves; a synchronisation takes each name it uploads, and puts it
// back when the upload did not happen. Safe from any thread.
class MarkedFiles
{
public:
    MarkedFiles();

    // Whether `name` was not marked yet.
    bool mark(const QString &name);
    // Unmarks `name`; whether it was marked.
    bool take(const QString &name);

private:
    mutable std::mutex m_mutex;
    QSet<QString> m_names;
};

} // namespace lexi
