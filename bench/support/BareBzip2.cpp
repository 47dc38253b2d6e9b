#include "BareBzip2.h"

#include <bzlib.h>

namespace lexi::bench {

QByteArray bareBzip2Decompressed(const QByteArray &packed, qsizetype size)
{
    QByteArray contents(size, Qt::Uninitialized);
    auto length = static_cast<unsigned int>(contents.size());
    if (BZ2_bzBuffToBuffDecompress(contents.data(), &length, const_cast<char *>(packed.constData()),
                                   static_cast<unsigned int>(packed.size()), 0, 0)
        != BZ_OK)
        return {};
    contents.truncate(qsizetype(length));
    return contents;
}

} // namespace lexi::bench
