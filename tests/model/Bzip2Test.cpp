#include "model/Bzip2.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

TEST(Bzip2Test, DecompressionGrowsAsNeededAndStopsBeyondTheLimit)
{
    // More than the first output buffer holds.
    QByteArray data;
    for (int i = 0; data.size() < 700000; ++i)
        data += QByteArray::number(i) + ' ';
    QByteArray packed = lexi::Bzip2::compressed(data).value();
    const struct
    {
        qsizetype limit;
        std::optional<lexi::Bzip2::Failure> failure;
    } cases[] = {{data.size(), std::nullopt},
                 {data.size() - 1, lexi::Bzip2::Failure::tooLarge},
                 {1, lexi::Bzip2::Failure::tooLarge}};
    for (const auto &c : cases) {
        QBuffer buffer(&packed);
        buffer.open(QIODevice::ReadOnly);
        const auto result = lexi::Bzip2::decompressed(buffer, c.limit);
        EXPECT_EQ(result.failure, c.failure) << c.limit;
        EXPECT_EQ(result.data, c.failure ? QByteArray() : data) << c.limit;
    }
    QBuffer unreadable(&packed);
    EXPECT_EQ(lexi::Bzip2::decompressed(unreadable, data.size()).failure, lexi::Bzip2::Failure::readError);
}

TEST(Bzip2Test, AStreamMadeOfPiecesIsTheStreamOfTheWholeText)
{
    // Over two of the library's 900 kB blocks, of text that packs well and of text that does not.
    QByteArray text;
    quint32 noise = 1;
    for (int i = 0; i < 300000; ++i) {
        text.append(QByteArray::number(i)).append(' ');
        noise = noise * 1664525u + 1013904223u;
        text.append(char('a' + noise % 26));
    }
    for (const qsizetype pieceSize : {qsizetype(1) << 16, qsizetype(1000), text.size()}) {
        SCOPED_TRACE(pieceSize);
        qsizetype position = 0;
        const auto pieces = [&] {
            const QByteArray piece = text.mid(position, pieceSize);
            position += piece.size();
            return piece;
        };
        EXPECT_EQ(lexi::Bzip2::compressed(pieces), lexi::Bzip2::compressed(text));
    }
    EXPECT_EQ(lexi::Bzip2::compressed([] { return QByteArray(); }), lexi::Bzip2::compressed(QByteArray()));
}

} // namespace
