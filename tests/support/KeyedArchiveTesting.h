#pragma once

#include "platform/plist/KeyedArchiver.h"
#include "platform/plist/KeyedUnarchiver.h"
#include "platform/plist/PlistIteration.h"
#include "platform/plist/PlistPointer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace lexi::test {

// Parses a property list written as XML, such as a keyed archive from Foundation.
inline PlistPointer parseXmlPlist(const std::string &xml)
{
    plist_t root = nullptr;
    plist_from_xml(xml.data(), uint32_t(xml.size()), &root);
    return PlistPointer(root);
}

// The keys of a property-list dictionary in their stored order.
inline std::vector<std::string> dictionaryKeys(plist_t dictionary)
{
    std::vector<std::string> keys;
    forEachDictionaryItem(dictionary, [&keys](const char *key, plist_t) { keys.emplace_back(key); });
    return keys;
}

// Writes `object` as the root of an object table and reads it back with T::initWithCoder().
template<typename T>
auto archiveRoundTrip(const T &object)
{
    KeyedArchiver archiver;
    const PlistPointer root(plist_new_uid(archiver.encodeRootObject(object)));
    const PlistPointer objects = archiver.takeObjects();
    KeyedUnarchiver unarchiver(objects.get());
    const std::optional<KeyedDecoder> decoder = unarchiver.decoderForObject(root.get(), T::archiveClassName);
    if (!decoder)
        throw std::runtime_error("the root object did not decode");
    return T::initWithCoder(*decoder);
}

} // namespace lexi::test
