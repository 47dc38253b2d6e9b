#include "KeyedUnarchiver.h"

#include "PlistIteration.h"

namespace lexi {

namespace {

std::optional<QString> plainString(plist_t node)
{
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return std::nullopt;
    uint64_t length = 0;
    const char *text = plist_get_string_ptr(node, &length);
    return QString::fromUtf8(text, qsizetype(length));
}

plist_t dictionaryItem(plist_t node, const char *key)
{
    if (!node || plist_get_node_type(node) != PLIST_DICT)
        return nullptr;
    return plist_dict_get_item(node, key);
}

} // namespace

KeyedUnarchiver::KeyedUnarchiver(plist_t objects)
{
    if (!objects || plist_get_node_type(objects) != PLIST_ARRAY)
        return;
    const QList<plist_t> items = arrayItems(objects);
    m_objects.assign(items.cbegin(), items.cend());
}

QList<plist_t> KeyedUnarchiver::arrayItems(plist_t array)
{
    QList<plist_t> items;
    items.reserve(plist_array_get_size(array));
    forEachArrayItem(array, [&items](plist_t item) { items.append(item); });
    return items;
}

std::optional<KeyedDecoder> KeyedUnarchiver::decoderForObject(plist_t reference, const char *className)
{
    plist_t object = objectFor(reference);
    if (!isOfClass(object, className))
        return std::nullopt;
    return KeyedDecoder(*this, object);
}

std::optional<quint64> KeyedUnarchiver::uidOf(plist_t reference) const
{
    if (!reference)
        return std::nullopt;
    uint64_t uid = 0;
    switch (plist_get_node_type(reference)) {
    case PLIST_UID:
        plist_get_uid_val(reference, &uid);
        break;
    case PLIST_DICT: {
        plist_t value = plist_dict_get_item(reference, "CF$UID");
        if (plist_dict_get_size(reference) != 1 || !value || plist_get_node_type(value) != PLIST_UINT)
            return std::nullopt;
        plist_get_uint_val(value, &uid);
        break;
    }
    default:
        return std::nullopt;
    }
    if (uid == 0 || uid >= m_objects.size())
        return std::nullopt;
    return uid;
}

plist_t KeyedUnarchiver::objectFor(plist_t reference) const
{
    const std::optional<quint64> uid = uidOf(reference);
    return uid ? m_objects[*uid] : nullptr;
}

bool KeyedUnarchiver::isOfClass(plist_t object, const char *className) const
{
    const std::optional<QString> name = plainString(dictionaryItem(objectFor(dictionaryItem(object, "$class")),
                                                                   "$classname"));
    return name && *name == QLatin1StringView(className);
}

std::shared_ptr<void> KeyedUnarchiver::decodedObject(plist_t reference, const char *className,
                                                     detail::DecodeFields decode)
{
    const std::optional<quint64> uid = uidOf(reference);
    if (!uid || !isOfClass(m_objects[*uid], className) || m_objectsBeingDecoded.contains(*uid))
        return nullptr;
    const auto known = m_decodedObjects.constFind(*uid);
    if (known != m_decodedObjects.cend())
        return *known;
    m_objectsBeingDecoded.insert(*uid);
    std::shared_ptr<void> object = decode(KeyedDecoder(*this, m_objects[*uid]));
    m_objectsBeingDecoded.remove(*uid);
    m_decodedObjects.insert(*uid, object);
    return object;
}

std::optional<QString> KeyedUnarchiver::stringFor(plist_t reference)
{
    const std::optional<quint64> uid = uidOf(reference);
    if (!uid)
        return std::nullopt;
    const auto known = m_decodedStrings.constFind(*uid);
    if (known != m_decodedStrings.cend())
        return *known;
    plist_t object = m_objects[*uid];
    std::optional<QString> text = plainString(object);
    if (!text)
        text = plainString(dictionaryItem(object, "NS.string"));
    if (text)
        m_decodedStrings.insert(*uid, *text);
    return text;
}

} // namespace lexi
