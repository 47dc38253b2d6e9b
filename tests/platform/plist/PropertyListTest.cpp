#include "support/KeyedArchiveTesting.h"

#include "platform/plist/BinaryPropertyListWriter.h"
#include "platform/plist/PropertyListReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using lexi::BinaryPropertyListWriter;
using lexi::PlistPointer;
using lexi::PropertyListReader;

namespace {

std::string xmlOf(plist_t node)
{
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    std::string text(xml, length);
    plist_to_xml_free(xml);
    return text;
}

PlistPointer parsedByLibplist(const QByteArray &data)
{
    plist_t root = nullptr;
    plist_from_bin(data.constData(), uint32_t(data.size()), &root);
    return PlistPointer(root);
}

plist_t arrayOf(std::initializer_list<plist_t> items)
{
    plist_t array = plist_new_array();
    for (plist_t item : items)
        plist_array_append_item(array, item);
    return array;
}

TEST(PropertyListTest, WrittenDocumentsReadBackAsTheyWereInLibplist)
{
    const std::string utf8 = "Blätter 🍂 und Bäume";
    const std::vector<uint8_t> bytes(300, 0xAB);
    const struct
    {
        const char *what;
        std::function<plist_t()> make;
    } cases[] = {
        {"booleans", [] { return arrayOf({plist_new_bool(1), plist_new_bool(0)}); }},
        {"integers at every width",
         [] {
             plist_t array = plist_new_array();
             for (uint64_t value : std::initializer_list<uint64_t>{
                      0, 255, 256, 65535, 65536, 4294967295, 4294967296,
                      uint64_t(std::numeric_limits<int64_t>::max()), uint64_t(-1), uint64_t(-5)})
                 plist_array_append_item(array, plist_new_uint(value));
             return array;
         }},
        {"reals and dates",
         [] {
             return arrayOf({plist_new_real(-12345.678), plist_new_real(0.0), plist_new_real(1e300),
                             plist_new_date(600000000, 250000), plist_new_date(-86400, 0)});
         }},
        {"data", [&bytes] { return arrayOf({plist_new_data("", 0), plist_new_data(reinterpret_cast<const char *>(bytes.data()), bytes.size())}); }},
        {"strings: empty, at the count boundary, long, not ASCII",
         [&utf8] {
             return arrayOf({plist_new_string(""), plist_new_string("fourteen chars"),
                             plist_new_string("fifteen chars.."), plist_new_string(std::string(300, 'x').c_str()),
                             plist_new_string(utf8.c_str())});
         }},
        {"UIDs, some repeated, small and beyond sixteen million",
         [] {
             return arrayOf({plist_new_uid(0), plist_new_uid(255), plist_new_uid(256), plist_new_uid(70000),
                             plist_new_uid(256), plist_new_uid(1 << 24), plist_new_uid(0), plist_new_uid(1 << 24)});
         }},
        {"empty containers", [] { return arrayOf({plist_new_array(), plist_new_dict()}); }},
        {"nested dictionaries with keys of every kind",
         [&utf8] {
             plist_t inner = plist_new_dict();
             for (int i = 0; i < 20; ++i)
                 plist_dict_set_item(inner, ("key " + std::to_string(i)).c_str(), plist_new_uint(uint64_t(i)));
             plist_t outer = plist_new_dict();
             plist_dict_set_item(outer, "inner", inner);
             plist_dict_set_item(outer, utf8.c_str(), arrayOf({plist_new_string("inner")}));
             plist_dict_set_item(outer, "", plist_new_bool(1));
             return outer;
         }},
        {"more objects than one- and two-byte references reach",
         [] {
             plist_t array = plist_new_array();
             for (uint64_t i = 0; i < 70000; ++i)
                 plist_array_append_item(array, plist_new_uint(i * 7));
             return array;
         }},
        {"a string alone", [] { return plist_new_string("root"); }},
    };
    for (const auto &c : cases) {
        const PlistPointer tree(c.make());
        const QByteArray data = BinaryPropertyListWriter::data(tree.get());
        EXPECT_TRUE(data.startsWith("bplist00")) << c.what;
        const PlistPointer read = parsedByLibplist(data);
        ASSERT_TRUE(read) << c.what;
        EXPECT_EQ(xmlOf(read.get()), xmlOf(tree.get())) << c.what;
        const PlistPointer guarded = PropertyListReader::read(data);
        ASSERT_TRUE(guarded) << c.what;
        EXPECT_EQ(xmlOf(guarded.get()), xmlOf(tree.get())) << c.what;
    }
}

TEST(PropertyListTest, EqualValuesAreWrittenOnce)
{
    const PlistPointer tree(plist_new_array());
    const std::string text(200, 's');
    for (int i = 0; i < 1000; ++i) {
        plist_t entry = plist_new_dict();
        plist_dict_set_item(entry, "a rather long key", plist_new_string(text.c_str()));
        plist_array_append_item(tree.get(), entry);
    }
    const QByteArray data = BinaryPropertyListWriter::data(tree.get());
    // 1000 dictionaries of a few bytes each, one key and one string.
    EXPECT_LT(data.size(), 12000);
    EXPECT_EQ(xmlOf(parsedByLibplist(data).get()), xmlOf(tree.get()));
}

// A binary property list put together object by object: each object's bytes, the index of the
// top object, two-byte offsets and references of `referenceSize` bytes.
QByteArray binaryPlist(const std::vector<QByteArray> &objects, quint64 top = 0, quint64 objectCount = 0,
                       int referenceSize = 1)
{
    QByteArray data("bplist00");
    std::vector<quint64> offsets;
    for (const QByteArray &object : objects) {
        offsets.push_back(quint64(data.size()));
        data.append(object);
    }
    const quint64 table = quint64(data.size());
    const auto append = [&data](quint64 value, int size) {
        for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
            data.append(char((value >> shift) & 0xFF));
    };
    for (quint64 offset : offsets)
        append(offset, 2);
    data.append(6, '\0');
    data.append(char(2));
    data.append(char(referenceSize));
    append(objectCount ? objectCount : objects.size(), 8);
    append(top, 8);
    append(table, 8);
    return data;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray data;
    for (int value : values)
        data.append(char(value));
    return data;
}

// Arrays 0 to n-1, each holding two references to the next, and an integer at the end: a few
// hundred bytes that copied out as a tree hold 2^n nodes.
std::vector<QByteArray> doublingArrays(int n)
{
    std::vector<QByteArray> objects;
    for (int i = 0; i < n; ++i)
        objects.push_back(bytes({0xA2, i + 1, i + 1}));
    objects.push_back(bytes({0x10, 0x00}));
    return objects;
}

// Arrays each holding the next one, `depth` deep, with two-byte references.
QByteArray nestedArrays(int depth)
{
    std::vector<QByteArray> objects;
    for (int i = 0; i < depth - 1; ++i)
        objects.push_back(bytes({0xA1, (i + 1) >> 8, (i + 1) & 0xFF}));
    objects.push_back(bytes({0xA0}));
    return binaryPlist(objects, 0, 0, 2);
}

plist_t nestedArrayTree(int depth)
{
    plist_t array = plist_new_array();
    for (int i = 1; i < depth; ++i)
        array = arrayOf({array});
    return array;
}

// An array of `n` references to objects 1 to n, which all lie at the same offset: an array of n
// references to an integer. Copied out as a tree it holds n × n integers.
QByteArray arraysSharingTheirBytes(int n)
{
    QByteArray data("bplist00");
    const auto append = [&data](quint64 value, int size) {
        for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
            data.append(char((value >> shift) & 0xFF));
    };
    const quint64 leaf = quint64(data.size());
    data.append(bytes({0x10, 0x07}));
    const quint64 shared = quint64(data.size());
    data.append(bytes({0xAF, 0x11}));
    append(quint64(n), 2);
    for (int i = 0; i < n; ++i)
        append(0, 2);
    const quint64 top = quint64(data.size());
    data.append(bytes({0xAF, 0x11}));
    append(quint64(n), 2);
    for (int i = 1; i <= n; ++i)
        append(quint64(i), 2);
    const quint64 table = quint64(data.size());
    append(leaf, 2);
    for (int i = 1; i <= n; ++i)
        append(shared, 2);
    append(top, 2);
    data.append(6, '\0');
    data.append(char(2));
    data.append(char(2));
    append(quint64(n) + 2, 8);
    append(quint64(n) + 1, 8);
    append(table, 8);
    return data;
}

QByteArray xmlArrays(int depth)
{
    QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0">)";
    xml += QByteArray("<array>").repeated(depth) + QByteArray("</array>").repeated(depth) + "</plist>";
    return xml;
}

TEST(PropertyListTest, DocumentsLibplistWouldMishandleAreRefused)
{
    QByteArray offsetIntoHeader = binaryPlist({bytes({0x09})});
    offsetIntoHeader[10] = 3;
    QByteArray shortTrailer = binaryPlist({bytes({0x09})});
    shortTrailer.chop(1);
    QByteArray wideOffsets = binaryPlist({bytes({0x09})});
    wideOffsets[wideOffsets.size() - 26] = 9;
    const struct
    {
        const char *what;
        QByteArray data;
    } cases[] = {
        {"nothing", QByteArray()},
        {"a binary header alone", "bplist00"},
        {"a cut trailer", shortTrailer},
        {"offsets of nine bytes", wideOffsets},
        {"no objects", binaryPlist({}, 0, 0)},
        {"a top object beyond the table", binaryPlist({bytes({0x09})}, 1)},
        {"more objects than the offset table holds", binaryPlist({bytes({0x09})}, 0, 1000)},
        {"an offset into the header", offsetIntoHeader},
        {"a reference beyond the objects", binaryPlist({bytes({0xA1, 5}), bytes({0x09})})},
        {"references running into the offset table", binaryPlist({bytes({0xAE, 1}), bytes({0x09})})},
        {"a long count that is no integer", binaryPlist({bytes({0xAF, 0x50}), bytes({0x09})})},
        {"an array holding itself", binaryPlist({bytes({0xA1, 0})})},
        {"two dictionaries holding each other",
         binaryPlist({bytes({0xD1, 2, 1}), bytes({0xD1, 2, 0}), bytes({0x51, 'k'})})},
        {"shared arrays that copy out to 2^40 nodes", binaryPlist(doublingArrays(40))},
        {"shared arrays that copy out to 2^12 nodes", binaryPlist(doublingArrays(12))},
        {"arrays sharing their bytes", arraysSharingTheirBytes(300)},
        {"binary nesting beyond the limit", nestedArrays(PropertyListReader::maximumDepth + 1)},
        {"XML nesting beyond the limit", xmlArrays(PropertyListReader::maximumDepth + 1)},
        {"XML that is not well-formed", R"(<?xml version="1.0"?><plist version="1.0"><array><string>a</array></plist>)"},
        {"XML cut short", R"(<?xml version="1.0"?><plist version="1.0"><array><string>a</string>)"},
        {"neither", "just some text"},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(PropertyListReader::read(c.data)) << c.what;
}

TEST(PropertyListTest, SharingAndNestingWithinTheLimitsAreRead)
{
    const int limit = PropertyListReader::maximumDepth;
    const struct
    {
        const char *what;
        QByteArray data;
        std::function<plist_t()> expected;
    } cases[] = {
        {"a string shared by every element", binaryPlist({bytes({0xA3, 1, 1, 1}), bytes({0x51, 's'})}),
         [] { return arrayOf({plist_new_string("s"), plist_new_string("s"), plist_new_string("s")}); }},
        {"an array shared twice", binaryPlist(doublingArrays(2)),
         [] {
             const auto pair = [] { return arrayOf({plist_new_uint(0), plist_new_uint(0)}); };
             return arrayOf({pair(), pair()});
         }},
        {"binary nesting at the limit", nestedArrays(limit), [limit] { return nestedArrayTree(limit); }},
        {"XML nesting at the limit", xmlArrays(limit), [limit] { return nestedArrayTree(limit); }},
    };
    for (const auto &c : cases) {
        const PlistPointer read = PropertyListReader::read(c.data);
        ASSERT_TRUE(read) << c.what;
        const PlistPointer expected(c.expected());
        EXPECT_EQ(xmlOf(read.get()), xmlOf(expected.get())) << c.what;
    }
}

} // namespace
