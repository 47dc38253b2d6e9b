#include "model/ImportFileFormat.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

const QByteArray bzip2Block("BZh91AY&SY\x01\x02", 12);
const QByteArray emptyBzip2("BZh9\x17\x72\x45\x38\x50\x90\0\0\0\0", 14);
const QByteArray xmlPropertyList = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD "
                                   "PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist>";

TEST(ImportFileFormatTest, AFileIsKnownByItsFirstBytesThenByItsExtensionInAnyCase)
{
    const struct
    {
        QByteArray firstBytes;
        QString name;
        ImportFileFormat format;
    } cases[] = {
        {bzip2Block, u"French.qlxv"_s, ImportFileFormat::ownFormat},
        {bzip2Block, u"French.csv"_s, ImportFileFormat::ownFormat},
        {emptyBzip2, u"French"_s, ImportFileFormat::ownFormat},
        {"bplist00\xd4\x01", u"French.txt"_s, ImportFileFormat::olderArchive},
        {xmlPropertyList, u"French.qlxv"_s, ImportFileFormat::olderArchive},
        {"\xEF\xBB\xBF  <plist version=\"1.0\">", u"French"_s, ImportFileFormat::olderArchive},
        {"dog,Hund\n", u"French.QLXV"_s, ImportFileFormat::ownFormat},
        {"dog,Hund\n", u"French.Tbf"_s, ImportFileFormat::olderArchive},
        {"", u"French.tbf"_s, ImportFileFormat::olderArchive},
        {"dog,Hund\n", u"French.csv"_s, ImportFileFormat::text},
        {"BZhang,Zhang\n", u"names.txt"_s, ImportFileFormat::text},
        {"<?xml version=\"1.0\"?><words/>", u"words.xml"_s, ImportFileFormat::text},
        {"dog,Hund\n", u"French.qlxv.csv"_s, ImportFileFormat::text},
    };
    for (const auto &entry : cases)
        EXPECT_EQ(importFileFormatOf(entry.firstBytes, entry.name), entry.format) << entry.name.toStdString();
}

TEST(ImportFileFormatTest, ReadsTheFirstBytesOfTheFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"Vocabulary.QLXV"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xmlPropertyList);
    file.close();
    EXPECT_EQ(importFileFormat(path), ImportFileFormat::olderArchive);
    EXPECT_EQ(importFileFormat(folder.filePath(u"missing.qlxv"_s)), ImportFileFormat::ownFormat);
}

} // namespace
} // namespace lexi
