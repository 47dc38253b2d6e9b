#include "Bzip2.h"

#include <QIODevice>

#include <bzlib.h>

#include <algorithm>
#include <limits>

namespace lexi {

namespace {

constexpr int blockSize = 9;
constexpr int workFactor = 30;
constexpr qsizetype inputChunk = 1 << 16;
constexpr qsizetype firstOutputSize = 1 << 19;
// The library counts in unsigned int.
constexpr qsizetype maximumOutputStep = 1 << 30;

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

Bzip2::Decompressed Bzip2::decompressed(QIODevice &input, qsizetype limit)
{
    Decompressed result;
    DecompressionStream decompression;
    if (!decompression.initialised) {
        result.failure = Failure::damagedData;
        return result;
    }
    bz_stream &stream = decompression.stream;
    QByteArray chunk(inputChunk, Qt::Uninitialized);
    QByteArray &output = result.data;
    output.resize(std::min(firstOutputSize, limit + 1));
    qsizetype produced = 0;
    for (;;) {
        if (stream.avail_in == 0) {
            const qint64 read = input.read(chunk.data(), chunk.size());
            if (read < 0) {
                result.failure = Failure::readError;
                break;
            }
            if (read == 0) {
                result.failure = Failure::damagedData;
                break;
            }
            stream.next_in = chunk.data();
            stream.avail_in = static_cast<unsigned int>(read);
        }
        if (produced == output.size()) {
            // One byte beyond the limit tells contents that are too large from contents that fit.
            output.resize(std::min(output.size() * 2, limit + 1));
        }
        const qsizetype offered = std::min<qsizetype>(output.size() - produced, maximumOutputStep);
        stream.next_out = output.data() + produced;
        stream.avail_out = static_cast<unsigned int>(offered);
        const int code = BZ2_bzDecompress(&stream);
        produced += offered - qsizetype(stream.avail_out);
        if (produced > limit) {
            result.failure = Failure::tooLarge;
            break;
        }
        if (code == BZ_STREAM_END)
            break;
        if (code != BZ_OK) {
            result.failure = Failure::damagedData;
            break;
        }
    }
    output.resize(result.failure ? 0 : produced);
    return result;
}

} // namespace lexi
