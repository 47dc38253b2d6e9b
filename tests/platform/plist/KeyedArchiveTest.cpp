#include "support/KeyedArchiveTesting.h"

#include "platform/plist/KeyedArchive.h"
#include "platform/plist/KeyedArchiver.h"
#include "platform/plist/KeyedUnarchiver.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using lexi::Date;
using lexi::KeyedDecoder;
using lexi::KeyedEncoder;
using lexi::PlistPointer;

namespace {

struct Point
{
    static constexpr const char *archiveClassName = "Point";
    qint64 x = 0;

    void encodeWithCoder(KeyedEncoder &coder) const { coder.encodeInt64("x", x); }
    static Point initWithCoder(const KeyedDecoder &coder) { return {coder.decodeInt64("x")}; }
};

struct Node
{
    static constexpr const char *archiveClassName = "Node";
    QString name;
    std::optional<Date> when;
    QStringList labels;
    bool flag = false;
    qint64 number = 0;
    Point origin;
    QList<std::shared_ptr<Node>> children;

    void encodeWithCoder(KeyedEncoder &coder) const
    {
        coder.encodeString("name", name);
        coder.encodeDate("when", when);
        coder.encodeStringSet("labels", labels);
        coder.encodeBool("flag", flag);
        coder.encodeInt64("number", number);
        coder.encodeObject("origin", origin);
        coder.encodeObjectArray("children", children);
    }

    static std::shared_ptr<Node> initWithCoder(const KeyedDecoder &coder)
    {
        auto node = std::make_shared<Node>();
        node->name = coder.decodeString("name").value_or(u"(none)"_s);
        node->when = coder.decodeDate("when");
        node->labels = coder.decodeStringSet("labels").value_or(QStringList{u"(none)"_s});
        node->flag = coder.decodeBool("flag");
        node->number = coder.decodeInt64("number");
        if (auto origin = coder.decodeObject<Point>("origin"))
            node->origin = *origin;
        node->children = coder.decodeObjectArray<Node>("children").value_or(QList<std::shared_ptr<Node>>());
        return node;
    }
};

std::string stringAt(plist_t objects, uint64_t uid)
{
    const char *text = plist_get_string_ptr(plist_array_get_item(objects, uint32_t(uid)), nullptr);
    return text ? text : "";
}

uint64_t uidOf(plist_t node)
{
    uint64_t uid = 0;
    plist_get_uid_val(node, &uid);
    return uid;
}

TEST(KeyedArchiveTest, LaysObjectsOutAsFoundationsArchiverDoes)
{
    auto leaf = std::make_shared<Node>();
    leaf->name = u"shared"_s;
    Node root;
    root.name = u"shared"_s;
    root.labels = {u"b"_s, u"a"_s};
    root.children = {leaf, leaf};

    lexi::KeyedArchiver archiver;
    const uint64_t rootUid = archiver.encodeRootObject(root);
    const PlistPointer objects = archiver.takeObjects();
    plist_t table = objects.get();
    EXPECT_EQ(stringAt(table, 0), "$null");
    EXPECT_EQ(rootUid, 1u);

    plist_t fields = plist_array_get_item(table, uint32_t(rootUid));
    plist_t nodeClass = plist_array_get_item(table, uint32_t(uidOf(plist_dict_get_item(fields, "$class"))));
    EXPECT_EQ(lexi::test::dictionaryKeys(nodeClass), (std::vector<std::string>{"$classes", "$classname"}));
    EXPECT_STREQ(plist_get_string_ptr(plist_dict_get_item(nodeClass, "$classname"), nullptr), "Node");
    EXPECT_EQ(plist_array_get_size(plist_dict_get_item(nodeClass, "$classes")), 2u);

    // No date is a reference to nil; a set is an NSMutableSet of string references.
    EXPECT_EQ(uidOf(plist_dict_get_item(fields, "when")), 0u);
    plist_t labels = plist_array_get_item(table, uint32_t(uidOf(plist_dict_get_item(fields, "labels"))));
    plist_t setClass = plist_array_get_item(table, uint32_t(uidOf(plist_dict_get_item(labels, "$class"))));
    EXPECT_STREQ(plist_get_string_ptr(plist_dict_get_item(setClass, "$classname"), nullptr), "NSMutableSet");
    plist_t labelReferences = plist_dict_get_item(labels, "NS.objects");
    EXPECT_EQ(stringAt(table, uidOf(plist_array_get_item(labelReferences, 0))), "b");

    // The shared child is written once, referred to twice, and names the same string as its parent.
    plist_t children = plist_array_get_item(table, uint32_t(uidOf(plist_dict_get_item(fields, "children"))));
    plist_t childReferences = plist_dict_get_item(children, "NS.objects");
    ASSERT_EQ(plist_array_get_size(childReferences), 2u);
    const uint64_t child = uidOf(plist_array_get_item(childReferences, 0));
    EXPECT_EQ(uidOf(plist_array_get_item(childReferences, 1)), child);
    plist_t childFields = plist_array_get_item(table, uint32_t(child));
    EXPECT_EQ(uidOf(plist_dict_get_item(childFields, "name")), uidOf(plist_dict_get_item(fields, "name")));
    EXPECT_EQ(uidOf(plist_dict_get_item(childFields, "$class")), uidOf(plist_dict_get_item(fields, "$class")));
}

TEST(KeyedArchiveTest, RoundTripKeepsValuesAndSharedObjects)
{
    auto leaf = std::make_shared<Node>();
    leaf->name = u"Blätter 🍂"_s;
    leaf->number = std::numeric_limits<qint64>::min();
    Node root;
    root.when = Date::fromSecondsSinceReferenceDate(-12345.678);
    root.labels = {u"x"_s};
    root.flag = true;
    root.number = -5;
    root.origin = {42};
    root.children = {leaf, leaf};

    const auto read = lexi::test::archiveRoundTrip(root);
    EXPECT_EQ(read->name, u""_s);
    EXPECT_EQ(read->when, root.when);
    EXPECT_EQ(read->labels, root.labels);
    EXPECT_TRUE(read->flag);
    EXPECT_EQ(read->number, -5);
    EXPECT_EQ(read->origin.x, 42);
    ASSERT_EQ(read->children.size(), 2);
    EXPECT_EQ(read->children[0], read->children[1]);
    EXPECT_EQ(read->children[0]->name, leaf->name);
    EXPECT_EQ(read->children[0]->number, leaf->number);
    EXPECT_FALSE(read->children[0]->when);
}

// A table in the shape of XML archives: references as {"CF$UID": n}.
PlistPointer objectTable(const std::string &objects)
{
    return lexi::test::parseXmlPlist(R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><array>)" + objects
                                     + "</array></plist>");
}

std::string reference(int uid)
{
    return "<dict><key>CF$UID</key><integer>" + std::to_string(uid) + "</integer></dict>";
}

const std::string nodeClass =
    "<dict><key>$classes</key><array><string>Node</string><string>NSObject</string></array>"
    "<key>$classname</key><string>Node</string></dict>";

std::shared_ptr<Node> decodeRoot(plist_t table, int uid = 1)
{
    lexi::KeyedUnarchiver unarchiver(table);
    const PlistPointer root(plist_new_uid(uint64_t(uid)));
    const auto decoder = unarchiver.decoderForObject(root.get(), Node::archiveClassName);
    return decoder ? Node::initWithCoder(*decoder) : nullptr;
}

TEST(KeyedArchiveTest, ReadsXmlReferencesAndMutableStrings)
{
    const PlistPointer table = objectTable(
        "<string>$null</string>"
        "<dict><key>$class</key>" + reference(2) + "<key>name</key>" + reference(3) + "<key>labels</key>"
        + reference(4) + "<key>when</key>" + reference(5) + "<key>flag</key><integer>3</integer>"
        "<key>number</key><real>-7.9</real></dict>"
        + nodeClass
        + "<dict><key>NS.string</key><string>mutable</string></dict>"
          "<dict><key>NS.objects</key><array>" + reference(3) + reference(3) + reference(0) + reference(99)
        + "<string>inline is no reference</string></array></dict>"
          "<dict><key>NS.time</key><real>1.5</real></dict>");
    const auto node = decodeRoot(table.get());
    ASSERT_TRUE(node);
    EXPECT_EQ(node->name, u"mutable"_s);
    EXPECT_EQ(node->labels, QStringList{u"mutable"_s});
    EXPECT_EQ(node->when, Date::fromSecondsSinceReferenceDate(1.5));
    EXPECT_TRUE(node->flag);
    EXPECT_EQ(node->number, -7);
}

TEST(KeyedArchiveTest, DamagedReferencesAndValuesReadAsMissing)
{
    const struct
    {
        const char *what;
        std::string fields;
    } cases[] = {
        {"nothing", ""},
        {"references beyond the table or to nil",
         "<key>name</key>" + reference(40) + "<key>labels</key>" + reference(0)},
        {"a class description where a set belongs", "<key>labels</key>" + reference(2)},
        {"references that are not references",
         "<key>name</key><string>inline</string><key>when</key><dict><key>CF$UID</key><integer>3</integer>"
         "<key>more</key><true/></dict>"},
        {"values of other kinds",
         "<key>name</key>" + reference(3) + "<key>labels</key>" + reference(3) + "<key>when</key>" + reference(3)
             + "<key>flag</key><string>yes</string><key>number</key><string>12</string>"
               "<key>origin</key>" + reference(1)},
        {"dates beyond reason", "<key>when</key>" + reference(4)},
    };
    for (const auto &c : cases) {
        const PlistPointer table = objectTable(
            "<string>$null</string><dict><key>$class</key>" + reference(2) + c.fields + "</dict>" + nodeClass
            + "<dict><key>NS.objects</key><integer>1</integer></dict>"
              "<dict><key>NS.time</key><real>1e300</real></dict>");
        const auto node = decodeRoot(table.get());
        ASSERT_TRUE(node) << c.what;
        EXPECT_EQ(node->name, u"(none)"_s) << c.what;
        EXPECT_EQ(node->labels, QStringList{u"(none)"_s}) << c.what;
        EXPECT_FALSE(node->when) << c.what;
        EXPECT_FALSE(node->flag) << c.what;
        EXPECT_EQ(node->number, 0) << c.what;
        EXPECT_EQ(node->origin.x, 0) << c.what;
    }
}

TEST(KeyedArchiveTest, TheRootMustBeAnObjectOfTheClassAskedFor)
{
    const PlistPointer table = objectTable("<string>$null</string><dict><key>$class</key>" + reference(2)
                                           + "</dict>" + nodeClass + "<string>loose</string>");
    EXPECT_TRUE(decodeRoot(table.get(), 1));
    EXPECT_FALSE(decodeRoot(table.get(), 2));
    EXPECT_FALSE(decodeRoot(table.get(), 3));
    EXPECT_FALSE(decodeRoot(table.get(), 0));
    EXPECT_FALSE(decodeRoot(table.get(), 4));
    const PlistPointer notATable = lexi::test::parseXmlPlist(R"(<plist version="1.0"><dict/></plist>)");
    EXPECT_FALSE(decodeRoot(notATable.get()));
}

TEST(KeyedArchiveTest, AnObjectThatContainsItselfFindsNothingThere)
{
    // Node 2 lists itself and node 1 among its children; node 1 is the root.
    const std::string children = "<dict><key>NS.objects</key><array>" + reference(4) + reference(1) + "</array></dict>";
    const PlistPointer table = objectTable(
        "<string>$null</string>"
        "<dict><key>$class</key>" + reference(3) + "<key>children</key>" + reference(5) + "</dict>"
        "<string>unused</string>" + nodeClass
        + "<dict><key>$class</key>" + reference(3) + "<key>children</key>" + reference(6) + "</dict>"
        + "<dict><key>NS.objects</key><array>" + reference(4) + reference(4) + "</array></dict>" + children);
    const auto root = decodeRoot(table.get());
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 2);
    const std::shared_ptr<Node> child = root->children[0];
    EXPECT_EQ(root->children[1], child);
    // The child's reference to itself is dropped. Its reference to the root reads the root's
    // fields once more, where the child, still being read, is left out.
    ASSERT_EQ(child->children.size(), 1);
    EXPECT_NE(child->children[0], root);
    EXPECT_EQ(child->children[0]->children, (QList<std::shared_ptr<Node>>{}));
}

QByteArray xmlDocument(const std::string &body)
{
    return QByteArray::fromStdString(R"(<?xml version="1.0" encoding="UTF-8"?>)"
                                     R"(<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" )"
                                     R"("http://www.apple.com/DTDs/PropertyList-1.0.dtd"><plist version="1.0">)"
                                     + body + "</plist>");
}

// The root node of the archive in `data`, or none.
std::shared_ptr<Node> unarchivedNode(const QByteArray &data)
{
    const auto archive = lexi::KeyedArchive::fromData(data);
    if (!archive)
        return nullptr;
    EXPECT_FALSE(archive->rootObjectDecoder(Point::archiveClassName));
    const auto decoder = archive->rootObjectDecoder(Node::archiveClassName);
    return decoder ? Node::initWithCoder(*decoder) : nullptr;
}

TEST(KeyedArchiveTest, ArchivesAreBinaryPropertyListsInFoundationsEnvelope)
{
    Node root;
    root.name = u"root"_s;
    root.number = -3;
    const QByteArray data = lexi::KeyedArchive::archivedData(root);

    plist_t parsed = nullptr;
    plist_from_bin(data.constData(), uint32_t(data.size()), &parsed);
    const PlistPointer document(parsed);
    ASSERT_TRUE(document);
    EXPECT_STREQ(plist_get_string_ptr(plist_dict_get_item(document.get(), "$archiver"), nullptr), "NSKeyedArchiver");
    uint64_t version = 0;
    plist_get_uint_val(plist_dict_get_item(document.get(), "$version"), &version);
    EXPECT_EQ(version, 100000u);
    EXPECT_EQ(uidOf(plist_dict_get_item(plist_dict_get_item(document.get(), "$top"), "root")), 1u);
    EXPECT_EQ(stringAt(plist_dict_get_item(document.get(), "$objects"), 0), "$null");

    const auto read = unarchivedNode(data);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name, u"root"_s);
    EXPECT_EQ(read->number, -3);
}

TEST(KeyedArchiveTest, ReadsXmlArchivesAsFoundationWritesThem)
{
    const QByteArray data = xmlDocument(
        "<dict><key>$archiver</key><string>NSKeyedArchiver</string><key>$objects</key><array>"
        "<string>$null</string><dict><key>$class</key>" + reference(2) + "<key>name</key>" + reference(3)
        + "<key>number</key><integer>-12</integer></dict>" + nodeClass + "<string>from XML</string></array>"
          "<key>$top</key><dict><key>root</key>" + reference(1) + "</dict>"
          "<key>$version</key><integer>100000</integer></dict>");
    const auto read = unarchivedNode(data);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name, u"from XML"_s);
    EXPECT_EQ(read->number, -12);
}

TEST(KeyedArchiveTest, PropertyListsThatAreNoKeyedArchivesAreRefused)
{
    const std::string objects = "<key>$objects</key><array><string>$null</string></array>";
    const std::string top = "<key>$top</key><dict><key>root</key>" + reference(1) + "</dict>";
    const std::string archiver = "<key>$archiver</key><string>NSKeyedArchiver</string>";
    const struct
    {
        const char *what;
        QByteArray data;
    } cases[] = {
        {"no property list", "not a property list"},
        {"an array", xmlDocument("<array><string>NSKeyedArchiver</string></array>")},
        {"no archiver", xmlDocument("<dict>" + objects + top + "</dict>")},
        {"another archiver", xmlDocument("<dict><key>$archiver</key><string>Other</string>" + objects + top + "</dict>")},
        {"no object table", xmlDocument("<dict>" + archiver + top + "</dict>")},
        {"an object table that is no array",
         xmlDocument("<dict>" + archiver + "<key>$objects</key><dict/>" + top + "</dict>")},
        {"no root", xmlDocument("<dict>" + archiver + objects + "<key>$top</key><dict/></dict>")},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(lexi::KeyedArchive::fromData(c.data)) << c.what;
}

} // namespace
