#pragma once

#include "platform/ports/Clock.h"
#include "platform/values/Date.h"

#include <QString>

#include <optional>

// One log file on disk. Size and creation date are read from the file system on first use and
// then kept until reset().
//
// A file is archived once its logger is done with it; the mark is the extended attribute
// "user.lumberjack.log.archived", so it survives the program. Where a file takes no user
// attributes (the file system has none, or the file is no regular file) the mark is kept in
// memory for the rest of the process instead, with one console note.
class QLXLogFileInfo
{
public:
    explicit QLXLogFileInfo(QString filePath);

    const QString &filePath() const { return m_filePath; }
    QString fileName() const;
    // The file's birth time, or where the file system keeps none the time in its name. Nothing
    // when neither is known. Never the modification time, which every write moves.
    std::optional<lexi::Date> creationDate() const;
    quint64 fileSize() const;
    // Seconds since the creation date; 0 when that is unknown.
    double age(const lexi::Clock &clock) const;

    bool isArchived() const;
    void setIsArchived(bool archived);
    // Marks the file archived through a descriptor open on it, so that the mark reaches the file
    // under whatever name it has now, even after it was renamed or deleted.
    void archiveOpenFile(int fileDescriptor);

    // Forgets what was read from the file system.
    void reset();
    // Gives the file a new name in its folder, replacing a file of that name. The path changes
    // only when the file was moved; a failure is written to the console.
    void renameFile(const QString &newFileName);

    // Whether `a` orders before `b` when the newest file comes first: by creation date, then by
    // the time and counter in the name, then by path, so that the order is always defined.
    static bool reverseCompareByCreationDate(const QLXLogFileInfo &a, const QLXLogFileInfo &b);

    friend bool operator==(const QLXLogFileInfo &a, const QLXLogFileInfo &b) { return a.m_filePath == b.m_filePath; }

private:
    struct Attributes
    {
        quint64 size = 0;
        std::optional<lexi::Date> creationDate;
    };
    const Attributes &attributes() const;
    // Records the outcome of setting the archived attribute (0, or -1 with errno).
    void markArchived(int result) const;

    QString m_filePath;
    mutable std::optional<Attributes> m_attributes;
};
