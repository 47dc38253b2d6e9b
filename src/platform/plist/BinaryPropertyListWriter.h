#pragma once

#include <QByteArray>
#include <QHash>

#include <plist/plist.h>

#include <vector>

namespace lexi {

// Writes a property list as a binary property list ("bplist00"), in time linear in the size of
// the tree. Equal scalars, strings and dictionary keys are written once and shared, as
// Foundation writes them; strings are ASCII when they can be, UTF-16 otherwise. Integers keep
// their 64-bit pattern, so a negative number stored as its unsigned pattern reads back negative.
class BinaryPropertyListWriter
{
public:
    static QByteArray data(plist_t root);

private:
    // A scalar's bytes, or a container's marker and elements (for a dictionary: its keys, then
    // its values).
    struct Object
    {
        bool isContainer = false;
        quint8 marker = 0;
        qsizetype begin = 0;
        qsizetype length = 0;
        qsizetype elementCount = 0;
    };

    BinaryPropertyListWriter() = default;

    quint64 add(plist_t node);
    quint64 addContainer(quint8 marker, qsizetype elementCount, const std::vector<quint64> &references);
    // The scalar encoded in m_scratch.
    quint64 addScalar();
    QByteArray write(quint64 top) const;

    std::vector<Object> m_objects;
    std::vector<quint64> m_references;
    QByteArray m_scalarBytes;
    QHash<QByteArray, quint64> m_scalars;
    QByteArray m_scratch;
};

} // namespace lexi
