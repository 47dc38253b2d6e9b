#pragma once

#include "platform/values/Date.h"

#include <QFileInfo>
#include <QString>

#include <compare>
#include <optional>

// One vocabulary file found in the vocabularies folder. The preferences fill in the language
// name, word count and input source names for their languages table.
class QLXFile
{
public:
    explicit QLXFile(const QString &path);

    // Takes `path` when a file exists there; otherwise writes "File %@ not found" to the console
    // and changes nothing.
    void setFilePath(const QString &path);

    const QString &filePath() const { return m_filePath; }
    // The path inside the application's folder; empty for files elsewhere.
    QString relativePath() const;
    // The last path component without its extension.
    const QString &fileName() const { return m_fileName; }
    const std::optional<lexi::Date> &fileModDate() const { return m_fileModDate; }
    const QFileInfo &fileAttributes() const { return m_fileAttributes; }

    const QString &languageName() const { return m_languageName; }
    void setLanguageName(const QString &name) { m_languageName = name; }
    qint64 numberOfWords() const { return m_numberOfWords; }
    void setNumberOfWords(qint64 count) { m_numberOfWords = count; }
    const QString &yourInputSourceName() const { return m_yourInputSourceName; }
    void setYourInputSourceName(const QString &name) { m_yourInputSourceName = name; }
    const QString &foreignInputSourceName() const { return m_foreignInputSourceName; }
    void setForeignInputSourceName(const QString &name) { m_foreignInputSourceName = name; }

    // Case-insensitive by file name.
    std::weak_ordering compareNames(const QLXFile &other) const;
    // Oldest first; a file without a date counts as older than any.
    std::weak_ordering compareModDates(const QLXFile &other) const;
    // Newest first: the order of the language list.
    std::weak_ordering compareModDatesFromYoungToOld(const QLXFile &other) const;

    QString description() const;

private:
    QString m_filePath;
    QString m_fileName;
    std::optional<lexi::Date> m_fileModDate;
    QFileInfo m_fileAttributes;
    QString m_languageName;
    qint64 m_numberOfWords = 0;
    QString m_yourInputSourceName;
    QString m_foreignInputSourceName;
};
