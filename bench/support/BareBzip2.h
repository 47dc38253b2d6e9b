#pragma once

#include <QByteArray>

namespace lexi::bench {

// The least any loader of a packed file could do: one call to the library, decompressing
// `packed` into a buffer of the known `size` of its contents. A baseline for the loads measured.
QByteArray bareBzip2Decompressed(const QByteArray &packed, qsizetype size);

} // namespace lexi::bench
