#include "ImportFileFormat.h"

#include "platform/files/RegularFile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

// Enough for the XML declaration and the document type before the root element.
constexpr qsizetype recognisedLength = 512;

// "BZh", the block size "1" to "9", then the magic number of a first block or of the end of an
// empty stream: text that merely starts with "BZh" is no bzip2 stream.
bool isBzip2Stream(QByteArrayView bytes)
{
    if (bytes.size() < 10 || !bytes.startsWith("BZh") || bytes[3] < '1' || bytes[3] > '9')
        return false;
    const QByteArrayView magic = bytes.sliced(4, 6);
    return magic == QByteArrayView("\x31\x41\x59\x26\x53\x59", 6) || magic == QByteArrayView("\x17\x72\x45\x38\x50\x90", 6);
}

bool isPropertyList(QByteArrayView bytes)
{
    if (bytes.startsWith("bplist"))
        return true;
    QByteArrayView text = bytes;
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    text = text.trimmed();
    if (text.startsWith("<plist"))
        return true;
    return text.startsWith("<?xml") && (text.contains("<!DOCTYPE plist") || text.contains("<plist"));
}

} // namespace

ImportFileFormat importFileFormatOf(QByteArrayView firstBytes, const QString &path)
{
    if (isBzip2Stream(firstBytes))
        return ImportFileFormat::ownFormat;
    if (isPropertyList(firstBytes))
        return ImportFileFormat::olderArchive;
    const QString extension = QFileInfo(path).suffix();
    if (extension.compare(u"qlxv"_s, Qt::CaseInsensitive) == 0)
        return ImportFileFormat::ownFormat;
    if (extension.compare(u"tbf"_s, Qt::CaseInsensitive) == 0)
        return ImportFileFormat::olderArchive;
    return ImportFileFormat::text;
}

ImportFileFormat importFileFormat(const QString &path)
{
    QByteArray firstBytes;
    if (const auto file = openRegularFile(path))
        firstBytes = (*file)->read(recognisedLength);
    return importFileFormatOf(firstBytes, path);
}

} // namespace lexi
