#include "KeyedArchive.h"

#include "BinaryPropertyListWriter.h"
#include "PropertyListReader.h"

#include <cstring>

namespace lexi {

namespace {

constexpr const char *archiverName = "NSKeyedArchiver";
constexpr uint64_t archiveVersion = 100000;

plist_t itemOfType(plist_t dictionary, const char *key, plist_type type)
{
    plist_t item = plist_dict_get_item(dictionary, key);
    return item && plist_get_node_type(item) == type ? item : nullptr;
}

} // namespace

QByteArray KeyedArchive::archivedData(quint64 root, KeyedArchiver &archiver)
{
    BinaryPropertyListWriter &propertyList = archiver.propertyList();
    const BinaryPropertyListWriter::Reference objects = archiver.objectTable();
    const BinaryPropertyListWriter::Reference top[] = {propertyList.addUtf8String("root"), propertyList.addUid(root)};
    const BinaryPropertyListWriter::Reference document[] = {
        propertyList.addUtf8String("$archiver"), propertyList.addUtf8String(archiverName),
        propertyList.addUtf8String("$objects"),  objects,
        propertyList.addUtf8String("$top"),      propertyList.addDictionary(top),
        propertyList.addUtf8String("$version"),  propertyList.addInteger(archiveVersion)};
    return propertyList.data(propertyList.addDictionary(document));
}

std::unique_ptr<KeyedArchive> KeyedArchive::fromData(const QByteArray &data)
{
    PlistPointer document = PropertyListReader::read(data);
    if (!document || plist_get_node_type(document.get()) != PLIST_DICT)
        return nullptr;
    plist_t archiver = itemOfType(document.get(), "$archiver", PLIST_STRING);
    plist_t objects = itemOfType(document.get(), "$objects", PLIST_ARRAY);
    plist_t top = itemOfType(document.get(), "$top", PLIST_DICT);
    plist_t root = top ? plist_dict_get_item(top, "root") : nullptr;
    if (!archiver || std::strcmp(plist_get_string_ptr(archiver, nullptr), archiverName) != 0 || !objects || !root)
        return nullptr;
    return std::unique_ptr<KeyedArchive>(new KeyedArchive(std::move(document), objects, root));
}

KeyedArchive::KeyedArchive(PlistPointer document, plist_t objects, plist_t root)
    : m_document(std::move(document)), m_unarchiver(objects), m_root(root)
{
}

std::optional<KeyedDecoder> KeyedArchive::rootObjectDecoder(const char *className)
{
    return m_unarchiver.decoderForObject(m_root, className);
}

} // namespace lexi
