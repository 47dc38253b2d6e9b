#pragma once

#include "KeyedArchiver.h"
#include "KeyedDecoder.h"
#include "KeyedUnarchiver.h"
#include "PlistPointer.h"

#include <QByteArray>

#include <memory>
#include <optional>

namespace lexi {

// A keyed archive document as Foundation's keyed archiver writes it: a property list
// {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": UID}, "$objects": [...]}.
// Archives are written as binary property lists; binary and XML ones are read.
class KeyedArchive
{
public:
    // The archive of `rootObject` and everything it refers to.
    template<KeyedEncodable T>
    static QByteArray archivedData(const T &rootObject)
    {
        KeyedArchiver archiver;
        const quint64 root = archiver.encodeRootObject(rootObject);
        return archivedData(root, archiver);
    }

    // The archive in `data`; nothing when the data is no keyed archive.
    static std::unique_ptr<KeyedArchive> fromData(const QByteArray &data);

    KeyedArchive(const KeyedArchive &) = delete;
    KeyedArchive &operator=(const KeyedArchive &) = delete;

    // A decoder for the root object when it is of class `className`; valid while the archive lives.
    std::optional<KeyedDecoder> rootObjectDecoder(const char *className);

private:
    KeyedArchive(PlistPointer document, plist_t objects, plist_t root);

    static QByteArray archivedData(quint64 root, KeyedArchiver &archiver);

    PlistPointer m_document;
    KeyedUnarchiver m_unarchiver;
    plist_t m_root;
};

} // namespace lexi
