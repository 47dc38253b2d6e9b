#include "KeyedArchiver.h"

using namespace Qt::StringLiterals;

namespace lexi {

namespace {
const QString nullMarker = u"$null"_s;
const QStringList dateClasses = {u"NSDate"_s, u"NSObject"_s};
} // namespace

KeyedArchiver::KeyedArchiver()
{
    startOver();
}

KeyedArchiver::~KeyedArchiver() = default;

BinaryPropertyListWriter::Reference KeyedArchiver::objectTable()
{
    return m_propertyList.addArray(m_objects);
}

PlistPointer KeyedArchiver::takeObjects()
{
    const QByteArray data = m_propertyList.data(objectTable());
    startOver();
    plist_t objects = nullptr;
    plist_from_bin(data.constData(), uint32_t(data.size()), &objects);
    return PlistPointer(objects);
}

void KeyedArchiver::startOver()
{
    m_propertyList = BinaryPropertyListWriter();
    m_objects.clear();
    m_fields.clear();
    m_strings.clear();
    m_classes.clear();
    m_sharedObjects.clear();
    append(m_propertyList.addString(nullMarker));
}

quint64 KeyedArchiver::reserve()
{
    m_objects.push_back(0);
    return m_objects.size() - 1;
}

quint64 KeyedArchiver::append(BinaryPropertyListWriter::Reference object)
{
    m_objects.push_back(object);
    return m_objects.size() - 1;
}

void KeyedArchiver::place(quint64 uid, BinaryPropertyListWriter::Reference object)
{
    m_objects[uid] = object;
}

quint64 KeyedArchiver::appendObject(const char *className, const void *object, const void *identity,
                                    detail::EncodeFields encode)
{
    if (identity) {
        const auto known = m_sharedObjects.constFind(identity);
        if (known != m_sharedObjects.cend())
            return *known;
    }
    // The object gets its place before what it refers to, as in Foundation's archives; a shared
    // object that refers back to itself finds its own reference.
    const quint64 uid = reserve();
    if (identity)
        m_sharedObjects.insert(identity, uid);
    const quint64 classUid = classReference({QString::fromUtf8(className), u"NSObject"_s});
    // The fields of objects this one refers to are written, and taken back, above its own.
    const std::size_t fieldsBegin = m_fields.size();
    m_fields.push_back(m_propertyList.addUtf8String("$class"));
    m_fields.push_back(m_propertyList.addUid(classUid));
    KeyedEncoder encoder(*this);
    encode(object, encoder);
    place(uid, m_propertyList.addDictionary(std::span(m_fields).subspan(fieldsBegin)));
    m_fields.resize(fieldsBegin);
    return uid;
}

quint64 KeyedArchiver::appendString(const QString &value)
{
    const auto known = m_strings.constFind(value);
    if (known != m_strings.cend())
        return *known;
    const quint64 uid = append(m_propertyList.addString(value));
    m_strings.insert(value, uid);
    return uid;
}

quint64 KeyedArchiver::appendDate(Date value)
{
    const BinaryPropertyListWriter::Reference fields[] = {
        m_propertyList.addUtf8String("$class"), m_propertyList.addUid(classReference(dateClasses)),
        m_propertyList.addUtf8String("NS.time"), m_propertyList.addReal(value.secondsSinceReferenceDate())};
    return append(m_propertyList.addDictionary(fields));
}

quint64 KeyedArchiver::appendCollection(const QStringList &classHierarchy, const QList<quint64> &references)
{
    std::vector<BinaryPropertyListWriter::Reference> elements;
    elements.reserve(size_t(references.size()));
    for (quint64 reference : references)
        elements.push_back(m_propertyList.addUid(reference));
    const BinaryPropertyListWriter::Reference fields[] = {
        m_propertyList.addUtf8String("$class"), m_propertyList.addUid(classReference(classHierarchy)),
        m_propertyList.addUtf8String("NS.objects"), m_propertyList.addArray(elements)};
    return append(m_propertyList.addDictionary(fields));
}

quint64 KeyedArchiver::classReference(const QStringList &classHierarchy)
{
    const QString &className = classHierarchy.first();
    const auto known = m_classes.constFind(className);
    if (known != m_classes.cend())
        return *known;
    std::vector<BinaryPropertyListWriter::Reference> classes;
    for (const QString &name : classHierarchy)
        classes.push_back(m_propertyList.addString(name));
    const BinaryPropertyListWriter::Reference fields[] = {
        m_propertyList.addUtf8String("$classes"), m_propertyList.addArray(classes),
        m_propertyList.addUtf8String("$classname"), m_propertyList.addString(className)};
    const quint64 uid = append(m_propertyList.addDictionary(fields));
    m_classes.insert(className, uid);
    return uid;
}

} // namespace lexi
