#include "KeyedDecoder.h"

#include "KeyedUnarchiver.h"
#include "platform/values/WholeNumbers.h"

#include <limits>

namespace lexi {

KeyedDecoder::KeyedDecoder(KeyedUnarchiver &unarchiver, plist_t fields) : m_unarchiver(&unarchiver), m_fields(fields)
{
}

plist_t KeyedDecoder::field(const char *key) const
{
    return plist_dict_get_item(m_fields, key);
}

bool KeyedDecoder::containsValueForKey(const char *key) const
{
    return field(key) != nullptr;
}

bool KeyedDecoder::decodeBool(const char *key) const
{
    plist_t value = field(key);
    if (value && plist_get_node_type(value) == PLIST_BOOLEAN) {
        uint8_t flag = 0;
        plist_get_bool_val(value, &flag);
        return flag != 0;
    }
    return decodeInt64(key) != 0;
}

qint64 KeyedDecoder::decodeInt64(const char *key) const
{
    plist_t value = field(key);
    if (!value)
        return 0;
    switch (plist_get_node_type(value)) {
    case PLIST_UINT: {
        uint64_t number = 0;
        plist_get_uint_val(value, &number);
        return qint64(number);
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(value, &number);
        return truncatedToInt64(number);
    }
    default:
        return 0;
    }
}

qint32 KeyedDecoder::decodeInt32(const char *key) const
{
    const qint64 number = decodeInt64(key);
    if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(number);
}

std::optional<QString> KeyedDecoder::decodeString(const char *key) const
{
    return m_unarchiver->stringFor(field(key));
}

std::optional<Date> KeyedDecoder::decodeDate(const char *key) const
{
    plist_t date = m_unarchiver->objectFor(field(key));
    if (!date || plist_get_node_type(date) != PLIST_DICT)
        return std::nullopt;
    plist_t time = plist_dict_get_item(date, "NS.time");
    if (!time)
        return std::nullopt;
    double seconds = 0;
    switch (plist_get_node_type(time)) {
    case PLIST_REAL:
        plist_get_real_val(time, &seconds);
        break;
    case PLIST_UINT: {
        uint64_t whole = 0;
        plist_get_uint_val(time, &whole);
        seconds = double(qint64(whole));
        break;
    }
    default:
        return std::nullopt;
    }
    const Date value = Date::fromSecondsSinceReferenceDate(seconds);
    if (!value.isPlausible())
        return std::nullopt;
    return value;
}

std::optional<QStringList> KeyedDecoder::decodeStringSet(const char *key) const
{
    const std::optional<QList<plist_t>> references = collectionElements(field(key));
    if (!references)
        return std::nullopt;
    QStringList strings;
    for (plist_t reference : *references) {
        if (std::optional<QString> text = m_unarchiver->stringFor(reference))
            strings.append(std::move(*text));
    }
    strings.removeDuplicates();
    return strings;
}

std::shared_ptr<void> KeyedDecoder::objectAt(plist_t reference, const char *className,
                                             detail::DecodeFields decode) const
{
    return m_unarchiver->decodedObject(reference, className, decode);
}

std::optional<QList<plist_t>> KeyedDecoder::collectionElements(plist_t reference) const
{
    plist_t collection = m_unarchiver->objectFor(reference);
    if (!collection || plist_get_node_type(collection) != PLIST_DICT)
        return std::nullopt;
    plist_t elements = plist_dict_get_item(collection, "NS.objects");
    if (!elements || plist_get_node_type(elements) != PLIST_ARRAY)
        return std::nullopt;
    return KeyedUnarchiver::arrayItems(elements);
}

} // namespace lexi
