#pragma once

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
// Equal strings are written once. The envelope around the table ($archiver, $version, $top) and
// the property-list bytes are the container's business.
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

    // The object table written so far, as a property-list array; the archiver starts over.
    PlistPointer takeObjects();

private:
    friend class KeyedEncoder;

    quint64 appendObject(const char *className, const void *object, const void *identity,
                         detail::EncodeFields encode);
    quint64 appendString(const QString &value);
    quint64 appendDate(Date value);
    quint64 appendCollection(const QStringList &classHierarchy, const QList<quint64> &references);
    quint64 classReference(const QStringList &classHierarchy);
    quint64 append(plist_t node);
    void startOver();

    std::vector<PlistPointer> m_objects;
    QHash<QString, quint64> m_strings;
    QHash<QString, quint64> m_classes;
    QHash<const void *, quint64> m_sharedObjects;
};

} // namespace lexi
