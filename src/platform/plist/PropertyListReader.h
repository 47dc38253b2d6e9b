#pragma once

#include "PlistPointer.h"

#include <QByteArray>

namespace lexi {

// Reads a property list, binary ("bplist00") or XML, from bytes that may be damaged or made to
// do harm, through libplist. Documents libplist would mishandle are refused before it sees them:
// libplist copies a shared object at every reference and recurses once per level, so a binary
// document whose objects form a cycle, nest deeper than maximumDepth, share the bytes of their
// references, or share containers so that the copied tree would hold many times more nodes than
// the document has references is refused, and so is XML that is not well-formed or nests deeper
// than maximumDepth.
class PropertyListReader
{
public:
    // Far deeper than any keyed archive (five levels).
    static constexpr int maximumDepth = 256;

    // The property list, or nothing.
    static PlistPointer read(const QByteArray &data);
};

} // namespace lexi
