#include "Bzip2.h"

#include <QIODevice>

#include <bzlib.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace lexi {

namespace {

constexpr int blockSize = 9;
constexpr int workFactor = 30;
constexpr qsizetype inputChunk = 1 << 16;
// What is handed on at a time: large enough that handing on costs nothing, small enough that a
// reader can start early.
constexpr qsizetype pieceSize = 1 << 16;
constexpr qsizetype firstOutputSize = 1 << 20;

// Ends the decompression of a stream, however the loop left it.
struct DecompressionStream
{
    DecompressionStream() { initialised = BZ2_bzDecompressInit(&stream, 0, 0) == BZ_OK; }
    ~DecompressionStream()
    {
        if (initialised)
            BZ2_bzDecompressEnd(&stream);
    }
    DecompressionStream(const DecompressionStream &) = delete;
    DecompressionStream &operator=(const DecompressionStream &) = delete;

    bz_stream stream{};
    bool initialised = false;
};

// Ends the compression of a stream, however the loop left it.
struct CompressionStream
{
    CompressionStream() { initialised = BZ2_bzCompressInit(&stream, blockSize, 0, workFactor) == BZ_OK; }
    ~CompressionStream()
    {
        if (initialised)
            BZ2_bzCompressEnd(&stream);
    }
    CompressionStream(const CompressionStream &) = delete;
    CompressionStream &operator=(const CompressionStream &) = delete;

    bz_stream stream{};
    bool initialised = false;
};

} // namespace

std::optional<QByteArray> Bzip2::compressed(const QByteArray &data)
{
    // The library's bound for the compressed size: 1 % and 600 bytes more than the input.
    const double bound = double(data.size()) * 1.02 + 600;
    if (bound > double(std::numeric_limits<unsigned int>::max()))
        return std::nullopt;
    QByteArray output(qsizetype(bound), Qt::Uninitialized);
    auto outputLength = static_cast<unsigned int>(output.size());
    const int result = BZ2_bzBuffToBuffCompress(output.data(), &outputLength, const_cast<char *>(data.constData()),
                                                static_cast<unsigned int>(data.size()), blockSize, 0, workFactor);
    if (result != BZ_OK)
        return std::nullopt;
    output.truncate(qsizetype(outputLength));
    return output;
}

std::optional<QByteArray> Bzip2::compressed(const std::function<QByteArray()> &nextPiece)
{
    CompressionStream compression;
    if (!compression.initialised)
        return std::nullopt;
    bz_stream &stream = compression.stream;
    QByteArray output(firstOutputSize, Qt::Uninitialized);
    qsizetype produced = 0;
    QByteArray piece;
    bool ending = false;
    for (;;) {
        if (stream.avail_in == 0 && !ending) {
            piece = nextPiece();
            ending = piece.isEmpty();
            stream.next_in = piece.data();
            stream.avail_in = static_cast<unsigned int>(piece.size());
        }
        if (produced == output.size())
            output.resize(output.size() * 2);
        const qsizetype offered = std::min<qsizetype>(output.size() - produced, pieceSize);
        stream.next_out = output.data() + produced;
        stream.avail_out = static_cast<unsigned int>(offered);
        const int code = BZ2_bzCompress(&stream, ending ? BZ_FINISH : BZ_RUN);
        produced += offered - qsizetype(stream.avail_out);
        if (code == BZ_STREAM_END)
            break;
        if (code != BZ_RUN_OK && code != BZ_FINISH_OK)
            return std::nullopt;
    }
    output.truncate(produced);
    return output;
}

Bzip2::Decompressed Bzip2::decompressed(QIODevice &input, qsizetype limit)
{
    Decompressed result;
    result.failure = decompress(input, limit, [&result](QByteArray piece) {
        if (result.data.isEmpty())
            result.data = std::move(piece);
        else
            result.data.append(piece);
        return true;
    });
    if (result.failure)
        result.data.clear();
    return result;
}

std::optional<Bzip2::Failure> Bzip2::decompress(QIODevice &input, qsizetype limit,
                                                const std::function<bool(QByteArray piece)> &consume)
{
    DecompressionStream decompression;
    if (!decompression.initialised)
        return Failure::damagedData;
    bz_stream &stream = decompression.stream;
    QByteArray chunk(inputChunk, Qt::Uninitialized);
    QByteArray piece;
    qsizetype filled = 0;
    qsizetype total = 0;
    for (;;) {
        if (stream.avail_in == 0) {
            const qint64 read = input.read(chunk.data(), chunk.size());
            if (read < 0)
                return Failure::readError;
            if (read == 0)
                return Failure::damagedData;
            stream.next_in = chunk.data();
            stream.avail_in = static_cast<unsigned int>(read);
        }
        if (filled == piece.size()) {
            // One byte beyond the limit tells contents that are too large from contents that fit.
            piece = QByteArray(std::min(pieceSize, limit + 1 - total), Qt::Uninitialized);
            filled = 0;
        }
        stream.next_out = piece.data() + filled;
        stream.avail_out = static_cast<unsigned int>(piece.size() - filled);
        const qsizetype offered = piece.size() - filled;
        const int code = BZ2_bzDecompress(&stream);
        const qsizetype produced = offered - qsizetype(stream.avail_out);
        filled += produced;
        total += produced;
        if (total > limit)
            return Failure::tooLarge;
        if (code != BZ_OK && code != BZ_STREAM_END)
            return Failure::damagedData;
        if (code == BZ_STREAM_END || filled == piece.size()) {
            piece.truncate(filled);
            const bool goOn = piece.isEmpty() || consume(std::exchange(piece, QByteArray()));
            filled = 0;
            if (code == BZ_STREAM_END || !goOn)
                return std::nullopt;
        }
    }
}

} // namespace lexi
