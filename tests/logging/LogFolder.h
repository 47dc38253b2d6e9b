#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lexi::test {

// A temporary folder for log files, with helpers to make and read files in it.
class LogFolder
{
public:
    LogFolder() { EXPECT_TRUE(m_folder.isValid()); }

    QString path() const { return m_folder.path(); }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }

    QString make(const QString &name, const QByteArray &contents = {}) const
    {
        QFile file(filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return file.fileName();
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_folder;
};

} // namespace lexi::test
