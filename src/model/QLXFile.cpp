#include "QLXFile.h"

#include "DateDescription.h"

#include "platform/ports/Console.h"

#include <QCoreApplication>
#include <QDateTime>

using namespace Qt::StringLiterals;

QLXFile::QLXFile(const QString &path)
{
    setFilePath(path);
}

void QLXFile::setFilePath(const QString &path)
{
    const QFileInfo attributes(path);
    if (!attributes.exists()) {
        lexi::Console::writeLine(u"File %1 not found"_s.arg(path));
        return;
    }
    m_filePath = path;
    m_fileName = attributes.completeBaseName();
    m_fileAttributes = attributes;
    const QDateTime modified = attributes.lastModified();
    if (modified.isValid())
        m_fileModDate = lexi::Date::fromDateTime(modified);
}

QString QLXFile::relativePath() const
{
    if (!QCoreApplication::instance())
        return {};
    const QString applicationFolder = QCoreApplication::applicationDirPath() + u'/';
    if (!m_filePath.startsWith(applicationFolder))
        return {};
    return m_filePath.mid(applicationFolder.size());
}

std::weak_ordering QLXFile::compareNames(const QLXFile &other) const
{
    return QString::compare(m_fileName, other.m_fileName, Qt::CaseInsensitive) <=> 0;
}

std::weak_ordering QLXFile::compareModDates(const QLXFile &other) const
{
    if (m_fileModDate && other.m_fileModDate)
        return std::weak_order(m_fileModDate->secondsSinceReferenceDate(),
                               other.m_fileModDate->secondsSinceReferenceDate());
    return m_fileModDate.has_value() <=> other.m_fileModDate.has_value();
}

std::weak_ordering QLXFile::compareModDatesFromYoungToOld(const QLXFile &other) const
{
    return other.compareModDates(*this);
}

QString QLXFile::description() const
{
    return u"FileName: %1 ModDate: %2"_s.arg(m_fileName, m_fileModDate ? lexi::dateDescription(*m_fileModDate)
                                                                        : u"(null)"_s);
}
