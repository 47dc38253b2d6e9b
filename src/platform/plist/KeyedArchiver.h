#pragma once

#include "BinaryPropertyListWriter.h"
#include "KeyedEncoder.h"
#include "PlistPointer.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace lexi {

// Builds the object table ("$objects") of a keyed archive as Foundation's keyed archiver writes
// it: "$null" first, then every object once, each referred to by its index (a UID). Objects of
// our classes are dictionaries of their fields with a "$class" reference to a class dictionary
// ("$classname", "$classes"); strings are plain strings; dates are NSDate objects ("NS.time",
// seconds since 2001); sets and arrays are NSMutableSet and NSMutableArray objects ("NS.objects").
// Equal strings are written once. The objects go straight into a binary property list's object
// table, without a tree in between; the envelope around the table ($archiver, $version, $top) is
// the container's business.
class KeyedArchiver
{
public:
    KeyedArchiver();
    ~KeyedArchiver();
    KeyedArchiver(const KeyedArchiver &) = delete;
    KeyedArchiver &operator=(const KeyedArchiver &) = delete;

    // Writes `object` and everything it refers to; returns the UID that refers to it.
    template<KeyedEncodable T>
    quint64 encodeRootObject(const T &object)
    {
        return appendObject(T::archiveClassName, &object, nullptr, &detail::encodeFieldsOf<T>);
    }

    // The property list the objects are written into, for the envelope around them.
    BinaryPropertyListWriter &propertyList() { return m_propertyList; }
    // Adds the object table written so far to the property list as an array.
    BinaryPropertyListWriter::Reference objectTable();
    // The object table written so far, as a libplist array (to look into an archive's layout);
    // the archiver starts over.
    PlistPointer takeObjects();

private:
    friend class KeyedEncoder;

    quint64 appendObject(const char *className, const void *object, const void *identity,
                         detail::EncodeFields encode);
    quint64 appendString(const QString &value);
    quint64 appendDate(Date value);
    quint64 appendCollection(const QStringList &classHierarchy, const QList<quint64> &references);
    quint64 classReference(const QStringList &classHierarchy);
    // A new place in the object table, filled by place().
    quint64 reserve();
    quint64 append(BinaryPropertyListWriter::Reference object);
    void place(quint64 uid, BinaryPropertyListWriter::Reference object);
    void startOver();

    BinaryPropertyListWriter m_propertyList;
    // The property-list object of each UID.
    std::vector<BinaryPropertyListWriter::Reference> m_objects;
    // The keys and values of the fields being written, object within object: each encoder's
    // pairs follow those of the object that refers to it.
    std::vector<BinaryPropertyListWriter::Reference> m_fields;
    QHash<QString, quint64> m_strings;
    QHash<QString, quint64> m_classes;
    QHash<const void *, quint64> m_sharedObjects;
};

} // namespace lexi
