#include "support/ConsoleCapture.h"

#include "model/QLXFile.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString makeFile(const QTemporaryDir &folder, const QString &name, const QDateTime &modified)
{
    QFile file(folder.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();
    EXPECT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    return file.fileName();
}

TEST(QLXFileTest, DescribesAnExistingFile)
{
    QTemporaryDir folder;
    const QDateTime monday(QDate(2026, 12, 7), QTime(9, 30));
    const QString path = makeFile(folder, u"French - English.qlxv"_s, monday);
    const QLXFile file(path);
    EXPECT_EQ(file.filePath(), path);
    EXPECT_EQ(file.fileName(), u"French - English"_s);
    ASSERT_TRUE(file.fileModDate());
    EXPECT_EQ(*file.fileModDate(), lexi::Date::fromDateTime(monday));
    EXPECT_TRUE(file.relativePath().isEmpty());
    // The date as dates describe themselves, in UTC with the zone.
    EXPECT_EQ(file.description(), u"FileName: French - English ModDate: "_s
                                      + monday.toUTC().toString(u"yyyy-MM-dd HH:mm:ss +0000"_s));
}

TEST(QLXFileTest, AMissingFileLeavesTheDescriptorEmpty)
{
    lexi::test::ConsoleCapture console;
    const QLXFile file(u"/no/such/file.qlxv"_s);
    EXPECT_TRUE(file.filePath().isEmpty());
    EXPECT_TRUE(file.fileName().isEmpty());
    EXPECT_FALSE(file.fileModDate());
    EXPECT_EQ(console.lines(), QStringList{u"File /no/such/file.qlxv not found"_s});
}

TEST(QLXFileTest, SortsNewestFirstAndByNameIgnoringCase)
{
    QTemporaryDir folder;
    lexi::test::ConsoleCapture console;
    QList<QLXFile> files = {
        QLXFile(makeFile(folder, u"b.qlxv"_s, QDateTime(QDate(2026, 12, 7), QTime(12, 0)))),
        QLXFile(u"/missing"_s),
        QLXFile(makeFile(folder, u"A.qlxv"_s, QDateTime(QDate(2026, 12, 9), QTime(12, 0)))),
    };
    std::ranges::sort(files, [](const QLXFile &a, const QLXFile &b) { return a.compareModDatesFromYoungToOld(b) < 0; });
    EXPECT_EQ(files[0].fileName(), u"A"_s);
    EXPECT_EQ(files[1].fileName(), u"b"_s);
    EXPECT_TRUE(files[2].fileName().isEmpty());

    EXPECT_TRUE(files[0].compareNames(files[1]) < 0);
    EXPECT_TRUE(files[1].compareModDates(files[0]) < 0);
}

} // namespace
