#pragma once

#include "platform/values/Date.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <plist/plist.h>

#include <concepts>
#include <memory>
#include <optional>
#include <type_traits>

namespace lexi {

class KeyedDecoder;
class KeyedUnarchiver;

// A class that reads itself from a keyed archive: the class name the archive records for it and
// a factory, `initWithCoder`, that gives either a shared object or a value.
template<typename T>
concept KeyedDecodable = requires(const KeyedDecoder &decoder) {
    { T::archiveClassName } -> std::convertible_to<const char *>;
    T::initWithCoder(decoder);
};

namespace detail {
using DecodeFields = std::shared_ptr<void> (*)(const KeyedDecoder &decoder);

template<KeyedDecodable T>
std::shared_ptr<void> decodeFieldsOf(const KeyedDecoder &decoder)
{
    auto decoded = T::initWithCoder(decoder);
    if constexpr (std::is_same_v<decltype(decoded), std::shared_ptr<T>>)
        return decoded;
    else
        return std::make_shared<T>(std::move(decoded));
}
} // namespace detail

// Reads the keyed fields of one object of a keyed archive. Nothing it reads can make it fail: a
// missing field, a value of another type, a reference to nothing or to an object of another class
// reads as missing (none, 0, NO).
class KeyedDecoder
{
public:
    bool containsValueForKey(const char *key) const;
    // A boolean, or a number that is not 0.
    bool decodeBool(const char *key) const;
    // An integer, a negative one included; a floating-point number loses its fraction.
    qint64 decodeInt64(const char *key) const;
    // As decodeInt64(); a value beyond 32 bits reads as 0.
    qint32 decodeInt32(const char *key) const;
    // A string object (plain, or a mutable string's "NS.string").
    std::optional<QString> decodeString(const char *key) const;
    // A date object; a date that is not finite or lies thousands of years away reads as none.
    std::optional<Date> decodeDate(const char *key) const;
    // A set or array of strings: its distinct strings in archive order; other elements are skipped.
    std::optional<QStringList> decodeStringSet(const char *key) const;

    // An object of class T. An object referred to more than once is decoded once and shared.
    template<KeyedDecodable T>
    std::shared_ptr<T> decodeObject(const char *key) const
    {
        return std::static_pointer_cast<T>(objectAt(field(key), T::archiveClassName, &detail::decodeFieldsOf<T>));
    }

    // An array (or set) of objects of class T, in order; elements of other classes are skipped.
    template<KeyedDecodable T>
    std::optional<QList<std::shared_ptr<T>>> decodeObjectArray(const char *key) const
    {
        const std::optional<QList<plist_t>> references = collectionElements(field(key));
        if (!references)
            return std::nullopt;
        QList<std::shared_ptr<T>> objects;
        objects.reserve(references->size());
        for (plist_t reference : *references) {
            if (auto object = objectAt(reference, T::archiveClassName, &detail::decodeFieldsOf<T>))
                objects.append(std::static_pointer_cast<T>(std::move(object)));
        }
        return objects;
    }

private:
    friend class KeyedUnarchiver;

    KeyedDecoder(KeyedUnarchiver &unarchiver, plist_t fields);

    plist_t field(const char *key) const;
    std::shared_ptr<void> objectAt(plist_t reference, const char *className, detail::DecodeFields decode) const;
    std::optional<QList<plist_t>> collectionElements(plist_t reference) const;

    KeyedUnarchiver *m_unarchiver;
    plist_t m_fields;
};

} // namespace lexi
