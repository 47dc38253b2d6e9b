#include "BinaryPropertyListWriter.h"

#include "PlistIteration.h"

#include <QHashFunctions>
#include <QString>

#include <algorithm>
#include <cstring>

namespace lexi {

namespace {

// Object markers of the binary format: the high nibble is the type, the low one a size or count.
constexpr quint8 falseMarker = 0x08;
constexpr quint8 trueMarker = 0x09;
constexpr quint8 integerMarker = 0x10;
constexpr quint8 doubleMarker = 0x23;
constexpr quint8 dateMarker = 0x33;
constexpr quint8 dataMarker = 0x40;
constexpr quint8 asciiStringMarker = 0x50;
constexpr quint8 utf16StringMarker = 0x60;
constexpr quint8 uidMarker = 0x80;
constexpr quint8 arrayMarker = 0xA0;
constexpr quint8 dictionaryMarker = 0xD0;
// A count of 15 or more follows the marker as an integer object.
constexpr quint8 countFollows = 0x0F;
constexpr std::size_t trailerSize = 32;
// UIDs below this are found by value instead of by their bytes.
constexpr quint64 indexedUids = 1 << 24;

// The fewest of 1, 2, 4 or 8 bytes that hold `value`.
int byteCountFor(quint64 value)
{
    if (value <= 0xFF)
        return 1;
    if (value <= 0xFFFF)
        return 2;
    if (value <= 0xFFFFFFFF)
        return 4;
    return 8;
}

quint8 integerSizeExponent(int byteCount)
{
    return byteCount == 1 ? 0 : byteCount == 2 ? 1 : byteCount == 4 ? 2 : 3;
}

void appendBigEndian(QByteArray &bytes, quint64 value, int byteCount)
{
    char buffer[8];
    for (int i = 0; i < byteCount; ++i)
        buffer[i] = char((value >> ((byteCount - 1 - i) * 8)) & 0xFF);
    bytes.append(buffer, byteCount);
}

void appendInteger(QByteArray &bytes, quint64 value)
{
    const int byteCount = byteCountFor(value);
    bytes.append(char(integerMarker | integerSizeExponent(byteCount)));
    appendBigEndian(bytes, value, byteCount);
}

void appendMarker(QByteArray &bytes, quint8 marker, quint64 count)
{
    if (count < countFollows) {
        bytes.append(char(marker | count));
        return;
    }
    bytes.append(char(marker | countFollows));
    appendInteger(bytes, count);
}

void appendDouble(QByteArray &bytes, quint8 marker, double value)
{
    quint64 pattern = 0;
    std::memcpy(&pattern, &value, sizeof pattern);
    bytes.append(char(marker));
    appendBigEndian(bytes, pattern, 8);
}

void appendUtf16(QByteArray &bytes, QStringView text)
{
    appendMarker(bytes, utf16StringMarker, quint64(text.size()));
    const qsizetype begin = bytes.size();
    bytes.resize(begin + text.size() * 2);
    char *out = bytes.data() + begin;
    for (QChar unit : text) {
        *out++ = char(unit.unicode() >> 8);
        *out++ = char(unit.unicode() & 0xFF);
    }
}

void appendString(QByteArray &bytes, QStringView text)
{
    const bool isAscii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (isAscii) {
        appendMarker(bytes, asciiStringMarker, quint64(text.size()));
        const qsizetype begin = bytes.size();
        bytes.resize(begin + text.size());
        std::transform(text.begin(), text.end(), bytes.data() + begin, [](QChar c) { return char(c.unicode()); });
        return;
    }
    if (text.isValidUtf16()) {
        appendUtf16(bytes, text);
        return;
    }
    // A lone surrogate is no character: written as the replacement character, as UTF-8 would.
    appendUtf16(bytes, QString::fromUtf8(text.toUtf8()));
}

void appendUtf8String(QByteArray &bytes, std::string_view text)
{
    const bool isAscii = std::all_of(text.begin(), text.end(), [](char c) { return quint8(c) < 0x80; });
    if (!isAscii) {
        appendUtf16(bytes, QString::fromUtf8(text.data(), qsizetype(text.size())));
        return;
    }
    appendMarker(bytes, asciiStringMarker, quint64(text.size()));
    bytes.append(text.data(), qsizetype(text.size()));
}

char *putBigEndian(char *out, quint64 value, int byteCount)
{
    for (int shift = (byteCount - 1) * 8; shift >= 0; shift -= 8)
        *out++ = char((value >> shift) & 0xFF);
    return out;
}

char *putMarker(char *out, quint8 marker, quint64 count)
{
    if (count < countFollows) {
        *out++ = char(marker | count);
        return out;
    }
    *out++ = char(marker | countFollows);
    const int byteCount = byteCountFor(count);
    *out++ = char(integerMarker | integerSizeExponent(byteCount));
    return putBigEndian(out, count, byteCount);
}

std::size_t markerSize(quint64 count)
{
    return count < countFollows ? 1 : 2 + std::size_t(byteCountFor(count));
}

} // namespace

QByteArray BinaryPropertyListWriter::data(plist_t root)
{
    BinaryPropertyListWriter writer;
    const Reference top = writer.add(root);
    return writer.data(top);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::add(plist_t node)
{
    std::vector<Reference> references;
    switch (plist_get_node_type(node)) {
    case PLIST_ARRAY:
        references.reserve(plist_array_get_size(node));
        forEachArrayItem(node, [this, &references](plist_t item) { references.push_back(add(item)); });
        return addArray(references);
    case PLIST_DICT:
        forEachDictionaryItem(node, [this, &references](const char *key, plist_t value) {
            references.push_back(addUtf8String(key));
            references.push_back(add(value));
        });
        return addDictionary(references);
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return addBool(value);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return addInteger(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return addReal(value);
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return addDate(double(seconds) + double(microseconds) / 1e6);
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char *data = plist_get_data_ptr(node, &length);
        return addData(QByteArrayView(data, qsizetype(length)));
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char *text = plist_get_string_ptr(node, &length);
        return addUtf8String(std::string_view(text, length));
    }
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return addUid(value);
    }
    default:
        // Keys and typeless nodes are never values of a tree built through libplist's interface.
        return addUtf8String({});
    }
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addBool(bool value)
{
    const qsizetype begin = m_scalarBytes.size();
    m_scalarBytes.append(char(value ? trueMarker : falseMarker));
    return addScalar(begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addInteger(quint64 value)
{
    const qsizetype begin = m_scalarBytes.size();
    appendInteger(m_scalarBytes, value);
    return addScalar(begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addReal(double value)
{
    const qsizetype begin = m_scalarBytes.size();
    appendDouble(m_scalarBytes, doubleMarker, value);
    return addScalar(begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addDate(double secondsSinceReferenceDate)
{
    const qsizetype begin = m_scalarBytes.size();
    appendDouble(m_scalarBytes, dateMarker, secondsSinceReferenceDate);
    return addScalar(begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addData(QByteArrayView bytes)
{
    const qsizetype begin = m_scalarBytes.size();
    appendMarker(m_scalarBytes, dataMarker, quint64(bytes.size()));
    m_scalarBytes.append(bytes);
    return addScalar(begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addString(QStringView text)
{
    const qsizetype begin = m_scalarBytes.size();
    appendString(m_scalarBytes, text);
    return addScalar(begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addUtf8String(std::string_view text)
{
    const qsizetype begin = m_scalarBytes.size();
    appendUtf8String(m_scalarBytes, text);
    return addScalar(begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addUid(quint64 value)
{
    const qsizetype begin = m_scalarBytes.size();
    const int byteCount = byteCountFor(value);
    m_scalarBytes.append(char(uidMarker | (byteCount - 1)));
    appendBigEndian(m_scalarBytes, value, byteCount);
    if (value >= indexedUids)
        return addScalar(begin);
    if (value >= m_uids.size())
        m_uids.resize(std::max<std::size_t>(value + 1, m_uids.size() * 2));
    if (const quint32 known = m_uids[value]) {
        m_scalarBytes.truncate(begin);
        return known - 1;
    }
    // No other kind of scalar has the bytes of a UID: the table of scalars need not know it.
    const Reference uid = addNewScalar(begin);
    m_uids[value] = quint32(uid + 1);
    return uid;
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addArray(std::span<const Reference> items)
{
    const qsizetype begin = qsizetype(m_references.size());
    m_references.insert(m_references.end(), items.begin(), items.end());
    return addContainer(arrayMarker, qsizetype(items.size()), begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addDictionary(std::span<const Reference> keysAndValues)
{
    const qsizetype begin = qsizetype(m_references.size());
    for (std::size_t i = 0; i < keysAndValues.size(); i += 2)
        m_references.push_back(keysAndValues[i]);
    for (std::size_t i = 1; i < keysAndValues.size(); i += 2)
        m_references.push_back(keysAndValues[i]);
    return addContainer(dictionaryMarker, qsizetype(keysAndValues.size() / 2), begin);
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addContainer(quint8 marker, qsizetype elementCount,
                                                                           qsizetype referencesBegin)
{
    Object container;
    container.isContainer = true;
    container.marker = marker;
    container.begin = referencesBegin;
    container.length = qsizetype(m_references.size()) - referencesBegin;
    container.elementCount = elementCount;
    m_objects.push_back(container);
    return m_objects.size() - 1;
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addScalar(qsizetype begin)
{
    if (std::size_t(m_scalarCount + 1) * 2 > m_scalarSlots.size())
        growScalarSlots();
    const qsizetype length = m_scalarBytes.size() - begin;
    const char *bytes = m_scalarBytes.constData();
    const auto hash = quint32(qHash(QByteArrayView(bytes + begin, length)));
    const std::size_t mask = m_scalarSlots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        ScalarSlot &entry = m_scalarSlots[slot];
        if (entry.object == 0) {
            const Reference scalar = addNewScalar(begin);
            entry = {hash, quint32(scalar + 1)};
            ++m_scalarCount;
            return scalar;
        }
        if (entry.hash != hash)
            continue;
        const Object &known = m_objects[entry.object - 1];
        if (known.length == length && std::memcmp(bytes + known.begin, bytes + begin, std::size_t(length)) == 0) {
            m_scalarBytes.truncate(begin);
            return entry.object - 1;
        }
    }
}

BinaryPropertyListWriter::Reference BinaryPropertyListWriter::addNewScalar(qsizetype begin)
{
    Object scalar;
    scalar.begin = begin;
    scalar.length = m_scalarBytes.size() - begin;
    m_objects.push_back(scalar);
    return m_objects.size() - 1;
}

void BinaryPropertyListWriter::growScalarSlots()
{
    std::vector<ScalarSlot> table(std::max<std::size_t>(1024, m_scalarSlots.size() * 2));
    const std::size_t mask = table.size() - 1;
    for (const ScalarSlot &entry : m_scalarSlots) {
        if (entry.object == 0)
            continue;
        std::size_t slot = entry.hash & mask;
        while (table[slot].object != 0)
            slot = (slot + 1) & mask;
        table[slot] = entry;
    }
    m_scalarSlots = std::move(table);
}

QByteArray BinaryPropertyListWriter::data(Reference top) const
{
    const int referenceSize = byteCountFor(m_objects.empty() ? 0 : m_objects.size() - 1);
    std::size_t objectsEnd = 8;
    for (const Object &object : m_objects) {
        objectsEnd += object.isContainer
                          ? markerSize(quint64(object.elementCount)) + std::size_t(object.length) * referenceSize
                          : std::size_t(object.length);
    }
    const int offsetSize = byteCountFor(objectsEnd);
    QByteArray bytes(qsizetype(objectsEnd + m_objects.size() * offsetSize + trailerSize), Qt::Uninitialized);
    char *const start = bytes.data();
    std::memcpy(start, "bplist00", 8);
    char *out = start + 8;
    char *offsets = start + objectsEnd;
    for (const Object &object : m_objects) {
        offsets = putBigEndian(offsets, quint64(out - start), offsetSize);
        if (!object.isContainer) {
            std::memcpy(out, m_scalarBytes.constData() + object.begin, std::size_t(object.length));
            out += object.length;
            continue;
        }
        out = putMarker(out, object.marker, quint64(object.elementCount));
        const Reference *reference = m_references.data() + object.begin;
        for (qsizetype i = 0; i < object.length; ++i)
            out = putBigEndian(out, reference[i], referenceSize);
    }
    // Trailer: five unused bytes, the sort version, the two sizes and three 64-bit fields.
    std::memset(offsets, 0, 6);
    offsets += 6;
    *offsets++ = char(offsetSize);
    *offsets++ = char(referenceSize);
    offsets = putBigEndian(offsets, m_objects.size(), 8);
    offsets = putBigEndian(offsets, top, 8);
    putBigEndian(offsets, objectsEnd, 8);
    return bytes;
}

} // namespace lexi
