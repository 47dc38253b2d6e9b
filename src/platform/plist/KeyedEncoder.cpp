#include "KeyedEncoder.h"

#include "KeyedArchiver.h"

using namespace Qt::StringLiterals;

namespace lexi {

namespace {
const QStringList mutableSetClasses = {u"NSMutableSet"_s, u"NSSet"_s,
                                       u"NSObject"_s};
const QStringList mutableArrayClasses = {u"NSMutableArray"_s, u"NSArray"_s,
                                         u"NSObject"_s};
} // namespace

KeyedEncoder::KeyedEncoder(KeyedArchiver &archiver) : m_archiver(archiver) {}

void KeyedEncoder::encodeBool(const char *key, bool value)
{
    setField(key, m_archiver.m_propertyList.addBool(value));
}

void KeyedEncoder::encodeInt64(const char *key, qint64 value)
{
    // Property lists hold integers as 64-bit patterns; a negative number keeps its bits.
    setField(key, m_archiver.m_propertyList.addInteger(quint64(value)));
}

void KeyedEncoder::encodeString(const char *key, const std::optional<QString> &value)
{
    setReference(key, value ? m_archiver.appendString(*value) : 0);
}

void KeyedEncoder::encodeDate(const char *key, const std::optional<Date> &value)
{
    setReference(key, value ? m_archiver.appendDate(*value) : 0);
}

void KeyedEncoder::encodeStringSet(const char *key, const QStringList &values)
{
    QList<quint64> references;
    references.reserve(values.size());
    for (const QString &value : values)
        references.append(m_archiver.appendString(value));
    setReference(key, m_archiver.appendCollection(mutableSetClasses, references));
}

quint64 KeyedEncoder::objectReference(const char *className, const void *object, const void *identity,
                                      detail::EncodeFields encode)
{
    return m_archiver.appendObject(className, object, identity, encode);
}

void KeyedEncoder::setReference(const char *key, quint64 uid)
{
    setField(key, m_archiver.m_propertyList.addUid(uid));
}

void KeyedEncoder::setField(const char *key, quint64 value)
{
    m_archiver.m_fields.push_back(m_archiver.m_propertyList.addUtf8String(key));
    m_archiver.m_fields.push_back(value);
}

void KeyedEncoder::setArrayReference(const char *key, const QList<quint64> &references)
{
    setReference(key, m_archiver.appendCollection(mutableArrayClasses, references));
}

} // namespace lexi
