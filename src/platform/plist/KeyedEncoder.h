#pragma once

#include "platform/values/Date.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <concepts>
#include <memory>
#include <optional>

namespace lexi {

class KeyedArchiver;
class KeyedEncoder;

// A class that writes itself into a keyed archive: the class name the archive records for it and
// the keyed fields it writes.
template<typename T>
concept KeyedEncodable = requires(const T &object, KeyedEncoder &encoder) {
    { T::archiveClassName } -> std::convertible_to<const char *>;
    object.encodeWithCoder(encoder);
};

namespace detail {
using EncodeFields = void (*)(const void *object, KeyedEncoder &encoder);

template<KeyedEncodable T>
void encodeFieldsOf(const void *object, KeyedEncoder &encoder)
{
    static_cast<const T *>(object)->encodeWithCoder(encoder);
}
} // namespace detail

// Writes the keyed fields of one object of a keyed archive. Numbers and booleans are stored in the
// field itself; strings, dates, sets, arrays and objects go into the archive's object table and
// the field refers to them, the way Foundation's keyed archiver lays an archive out.
class KeyedEncoder
{
public:
    void encodeBool(const char *key, bool value);
    void encodeInt64(const char *key, qint64 value);
    // A string object; none is written as a reference to nil.
    void encodeString(const char *key, const std::optional<QString> &value);
    // A date object; none is written as a reference to nil.
    void encodeDate(const char *key, const std::optional<Date> &value);
    // A mutable set of distinct strings, in the order given.
    void encodeStringSet(const char *key, const QStringList &values);

    // An object written by value.
    template<KeyedEncodable T>
    void encodeObject(const char *key, const T &value)
    {
        setReference(key, objectReference(T::archiveClassName, &value, nullptr, &detail::encodeFieldsOf<T>));
    }

    // A mutable array of objects held by identity: an object that appears more than once in the
    // archive is written once and referred to wherever it appears.
    template<KeyedEncodable T>
    void encodeObjectArray(const char *key, const QList<std::shared_ptr<T>> &objects)
    {
        QList<quint64> references;
        references.reserve(objects.size());
        for (const std::shared_ptr<T> &object : objects) {
            if (object)
                references.append(
                    objectReference(T::archiveClassName, object.get(), object.get(), &detail::encodeFieldsOf<T>));
        }
        setArrayReference(key, references);
    }

    // A mutable array of objects written by value.
    template<KeyedEncodable T>
    void encodeObjectArray(const char *key, const QList<T> &values)
    {
        QList<quint64> references;
        references.reserve(values.size());
        for (const T &value : values)
            references.append(objectReference(T::archiveClassName, &value, nullptr, &detail::encodeFieldsOf<T>));
        setArrayReference(key, references);
    }

private:
    friend class KeyedArchiver;

    explicit KeyedEncoder(KeyedArchiver &archiver);

    quint64 objectReference(const char *className, const void *object, const void *identity,
                            detail::EncodeFields encode);
    void setReference(const char *key, quint64 uid);
    void setArrayReference(const char *key, const QList<quint64> &references);
    // Adds the field to the object being written; `value` is a property-list object.
    void setField(const char *key, quint64 value);

    KeyedArchiver &m_archiver;
};

} // namespace lexi
