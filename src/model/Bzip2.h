#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

class QIODevice;

namespace lexi {

// bzip2 compression as the own file format uses it: one standard stream of block size 9.
class Bzip2
{
public:
    enum class Failure { readError, damagedData, tooLarge };

    struct Decompressed
    {
        QByteArray data;
        std::optional<Failure> failure;
    };

    // One call to the library (work factor 30); nothing when it fails.
    static std::optional<QByteArray> compressed(const QByteArray &data);
    // The same stream, made of the pieces `nextPiece` hands over until an empty one, so that the
    // pieces can be made while the first are compressed; nothing when it fails.
    static std::optional<QByteArray> compressed(const std::function<QByteArray()> &nextPiece);

    // Reads one stream from `input` piece by piece and decompresses it as it goes, so that neither
    // the file nor its contents need a size known in advance; fails on a read error, on data that
    // is damaged or ends before the stream does, and once the contents grow beyond `limit` bytes.
    // Bytes after the end of the stream are ignored.
    static Decompressed decompressed(QIODevice &input, qsizetype limit);
    // The same, handing the contents to `consume` in pieces as they come, so that a reader can
    // work on them while the rest is still being decompressed. Stops early, without a failure,
    // when `consume` returns NO.
    static std::optional<Failure> decompress(QIODevice &input, qsizetype limit,
                                             const std::function<bool(QByteArray piece)> &consume);
};

} // namespace lexi
