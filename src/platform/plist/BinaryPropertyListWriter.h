#pragma once

#include <QByteArray>
#include <QStringView>

#include <plist/plist.h>

#include <span>
#include <string_view>
#include <vector>

namespace lexi {

// Writes a binary property list ("bplist00") object by object, in time linear in its size: each
// add*() puts one object into the object table and returns the reference that containers use for
// it; data() writes the table with the given top object. Equal scalars, strings and dictionary
// keys are written once and shared, as Foundation writes them; strings are ASCII when they can be,
// UTF-16 otherwise. Integers keep their 64-bit pattern, so a negative number stored as its
// unsigned pattern reads back negative.
class BinaryPropertyListWriter
{
public:
    using Reference = quint64;

    // The binary property list of a libplist tree.
    static QByteArray data(plist_t root);

    Reference addBool(bool value);
    Reference addInteger(quint64 value);
    Reference addReal(double value);
    // A date as seconds since 2001-01-01 00:00 UTC.
    Reference addDate(double secondsSinceReferenceDate);
    Reference addData(QByteArrayView bytes);
    Reference addString(QStringView text);
    Reference addUtf8String(std::string_view text);
    Reference addUid(quint64 value);
    Reference addArray(std::span<const Reference> items);
    // A dictionary of the pairs (key, value), given one after the other: key, value, key, ...
    Reference addDictionary(std::span<const Reference> keysAndValues);

    QByteArray data(Reference top) const;

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

    Reference add(plist_t node);
    Reference addContainer(quint8 marker, qsizetype elementCount, qsizetype referencesBegin);
    // The scalar whose bytes were appended to m_scalarBytes from `begin` on: a new object, or the
    // equal one written before (the bytes are then taken back).
    Reference addScalar(qsizetype begin);
    // The scalar appended from `begin` on, known to be new.
    Reference addNewScalar(qsizetype begin);
    void growScalarSlots();

    std::vector<Object> m_objects;
    std::vector<Reference> m_references;
    QByteArray m_scalarBytes;
    // An open-addressing table of scalars by their bytes, with their hash so that a probe rarely
    // looks at the bytes.
    struct ScalarSlot
    {
        quint32 hash = 0;
        // The object's index + 1; 0 for a free slot.
        quint32 object = 0;
    };
    std::vector<ScalarSlot> m_scalarSlots;
    qsizetype m_scalarCount = 0;
    // UIDs, as a keyed archive writes them: one for each object, looked up by value (object
    // index + 1, 0 for none yet).
    std::vector<quint32> m_uids;
};

} // namespace lexi
