#include "KeyedArchiver.h"

using namespace Qt::StringLiterals;

namespace lexi {

namespace {
const QString nullMarker = u"$null"_s;
const QStringList dateClasses = {u"NSDate"_s, u"NSObject"_s};

PlistPointer stringNode(const QString &value)
{
    return PlistPointer(plist_new_string(value.toUtf8().constData()));
}
} // namespace

KeyedArchiver::KeyedArchiver()
{
    startOver();
}

KeyedArchiver::~KeyedArchiver() = default;

PlistPointer KeyedArchiver::takeObjects()
{
    PlistPointer objects(plist_new_array());
    for (PlistPointer &object : m_objects)
        plist_array_append_item(objects.get(), object.release());
    startOver();
    return objects;
}

void KeyedArchiver::startOver()
{
    m_objects.clear();
    m_strings.clear();
    m_classes.clear();
    m_sharedObjects.clear();
    m_objects.push_back(stringNode(nullMarker));
}

quint64 KeyedArchiver::append(plist_t node)
{
    m_objects.emplace_back(node);
    return m_objects.size() - 1;
}

quint64 KeyedArchiver::appendObject(const char *className, const void *object, const void *identity,
                                    detail::EncodeFields encode)
{
    if (identity) {
        const auto known = m_sharedObjects.constFind(identity);
        if (known != m_sharedObjects.cend())
            return *known;
    }
    plist_t fields = plist_new_dict();
    // The object gets its place before what it refers to, as in Foundation's archives; a shared
    // object that refers back to itself finds its own reference.
    const quint64 uid = append(fields);
    if (identity)
        m_sharedObjects.insert(identity, uid);
    plist_dict_set_item(fields, "$class",
                        plist_new_uid(classReference({QString::fromUtf8(className), u"NSObject"_s})));
    KeyedEncoder encoder(*this, fields);
    encode(object, encoder);
    return uid;
}

quint64 KeyedArchiver::appendString(const QString &value)
{
    const auto known = m_strings.constFind(value);
    if (known != m_strings.cend())
        return *known;
    const quint64 uid = append(stringNode(value).release());
    m_strings.insert(value, uid);
    return uid;
}

quint64 KeyedArchiver::appendDate(Date value)
{
    plist_t date = plist_new_dict();
    plist_dict_set_item(date, "$class", plist_new_uid(classReference(dateClasses)));
    plist_dict_set_item(date, "NS.time", plist_new_real(value.secondsSinceReferenceDate()));
    return append(date);
}

quint64 KeyedArchiver::appendCollection(const QStringList &classHierarchy, const QList<quint64> &references)
{
    plist_t collection = plist_new_dict();
    plist_t elements = plist_new_array();
    for (quint64 reference : references)
        plist_array_append_item(elements, plist_new_uid(reference));
    plist_dict_set_item(collection, "$class", plist_new_uid(classReference(classHierarchy)));
    plist_dict_set_item(collection, "NS.objects", elements);
    return append(collection);
}

quint64 KeyedArchiver::classReference(const QStringList &classHierarchy)
{
    const QString &className = classHierarchy.first();
    const auto known = m_classes.constFind(className);
    if (known != m_classes.cend())
        return *known;
    plist_t classes = plist_new_array();
    for (const QString &name : classHierarchy)
        plist_array_append_item(classes, stringNode(name).release());
    plist_t description = plist_new_dict();
    plist_dict_set_item(description, "$classes", classes);
    plist_dict_set_item(description, "$classname", stringNode(className).release());
    const quint64 uid = append(description);
    m_classes.insert(className, uid);
    return uid;
}

} // namespace lexi
