#pragma once

#include "KeyedDecoder.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <plist/plist.h>

#include <memory>
#include <optional>
#include <vector>

namespace lexi {

// Reads objects from the object table ("$objects") of a keyed archive, as Foundation's keyed
// archiver and KeyedArchiver write it. References are UIDs, or {"CF$UID": n} dictionaries as XML
// property lists carry them; a reference to index 0 ("$null") or beyond the table refers to
// nothing. The table is walked once up front, so each reference costs a constant time. Decoded
// strings and objects are kept by UID, so shared objects stay shared and an archive that refers
// to one object many times costs that object once; an object that refers back to itself while it
// is being decoded finds nothing there.
class KeyedUnarchiver
{
public:
    // `objects` is the archive's "$objects" array (anything else gives an empty table); it must
    // outlive the unarchiver.
    explicit KeyedUnarchiver(plist_t objects);
    KeyedUnarchiver(const KeyedUnarchiver &) = delete;
    KeyedUnarchiver &operator=(const KeyedUnarchiver &) = delete;

    // A decoder for the fields of the object `reference` refers to, when that object is of class
    // `className`; none otherwise. For the root object, whose class may need more than the
    // archive to be made.
    std::optional<KeyedDecoder> decoderForObject(plist_t reference, const char *className);

private:
    friend class KeyedDecoder;

    static QList<plist_t> arrayItems(plist_t array);
    std::optional<quint64> uidOf(plist_t reference) const;
    plist_t objectFor(plist_t reference) const;
    bool isOfClass(plist_t object, const char *className) const;
    std::shared_ptr<void> decodedObject(plist_t reference, const char *className, detail::DecodeFields decode);
    std::optional<QString> stringFor(plist_t reference);

    std::vector<plist_t> m_objects;
    QHash<quint64, std::shared_ptr<void>> m_decodedObjects;
    QHash<quint64, QString> m_decodedStrings;
    QSet<quint64> m_objectsBeingDecoded;
};

} // namespace lexi
