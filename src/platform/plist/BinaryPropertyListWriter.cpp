#include "BinaryPropertyListWriter.h"

#include "PlistIteration.h"

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

void appendBigEndian(QByteArray &bytes, quint64 value, int byteCount)
{
    for (int shift = (byteCount - 1) * 8; shift >= 0; shift -= 8)
        bytes.append(char((value >> shift) & 0xFF));
}

void appendInteger(QByteArray &bytes, quint64 value)
{
    const int byteCount = byteCountFor(value);
    const quint8 sizeExponent = byteCount == 1 ? 0 : byteCount == 2 ? 1 : byteCount == 4 ? 2 : 3;
    bytes.append(char(integerMarker | sizeExponent));
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

void appendString(QByteArray &bytes, const char *utf8, qsizetype length)
{
    const bool isAscii = std::all_of(utf8, utf8 + length, [](char c) { return quint8(c) < 0x80; });
    if (isAscii) {
        appendMarker(bytes, asciiStringMarker, quint64(length));
        bytes.append(utf8, length);
        return;
    }
    const QString text = QString::fromUtf8(utf8, length);
    appendMarker(bytes, utf16StringMarker, quint64(text.size()));
    for (QChar unit : text)
        appendBigEndian(bytes, unit.unicode(), 2);
}

void appendScalar(QByteArray &bytes, plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        bytes.append(char(value ? trueMarker : falseMarker));
        break;
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        appendInteger(bytes, value);
        break;
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        appendDouble(bytes, doubleMarker, value);
        break;
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        appendDouble(bytes, dateMarker, double(seconds) + double(microseconds) / 1e6);
        break;
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char *data = plist_get_data_ptr(node, &length);
        appendMarker(bytes, dataMarker, length);
        bytes.append(data, qsizetype(length));
        break;
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char *text = plist_get_string_ptr(node, &length);
        appendString(bytes, text, qsizetype(length));
        break;
    }
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        const int byteCount = byteCountFor(value);
        bytes.append(char(uidMarker | (byteCount - 1)));
        appendBigEndian(bytes, value, byteCount);
        break;
    }
    default:
        // Keys and typeless nodes are never values of a tree built through libplist's interface.
        appendString(bytes, "", 0);
        break;
    }
}

} // namespace

QByteArray BinaryPropertyListWriter::data(plist_t root)
{
    BinaryPropertyListWriter writer;
    const quint64 top = writer.add(root);
    return writer.write(top);
}

quint64 BinaryPropertyListWriter::add(plist_t node)
{
    std::vector<quint64> references;
    switch (plist_get_node_type(node)) {
    case PLIST_ARRAY: {
        references.reserve(plist_array_get_size(node));
        forEachArrayItem(node, [this, &references](plist_t item) { references.push_back(add(item)); });
        return addContainer(arrayMarker, qsizetype(references.size()), references);
    }
    case PLIST_DICT: {
        std::vector<quint64> values;
        forEachDictionaryItem(node, [this, &references, &values](const char *key, plist_t value) {
            m_scratch.resize(0);
            appendString(m_scratch, key, qsizetype(std::strlen(key)));
            references.push_back(addScalar());
            values.push_back(add(value));
        });
        const qsizetype pairs = qsizetype(values.size());
        references.insert(references.end(), values.cbegin(), values.cend());
        return addContainer(dictionaryMarker, pairs, references);
    }
    default:
        m_scratch.resize(0);
        appendScalar(m_scratch, node);
        return addScalar();
    }
}

quint64 BinaryPropertyListWriter::addContainer(quint8 marker, qsizetype elementCount,
                                               const std::vector<quint64> &references)
{
    Object container;
    container.isContainer = true;
    container.marker = marker;
    container.begin = qsizetype(m_references.size());
    container.length = qsizetype(references.size());
    container.elementCount = elementCount;
    m_references.insert(m_references.end(), references.cbegin(), references.cend());
    m_objects.push_back(container);
    return m_objects.size() - 1;
}

quint64 BinaryPropertyListWriter::addScalar()
{
    const auto known = m_scalars.constFind(m_scratch);
    if (known != m_scalars.cend())
        return *known;
    Object scalar;
    scalar.begin = m_scalarBytes.size();
    scalar.length = m_scratch.size();
    m_scalarBytes.append(m_scratch);
    m_objects.push_back(scalar);
    const quint64 index = m_objects.size() - 1;
    // A copy of its own: sharing the scratch buffer would make its next use allocate.
    m_scalars.insert(QByteArray(m_scratch.constData(), m_scratch.size()), index);
    return index;
}

QByteArray BinaryPropertyListWriter::write(quint64 top) const
{
    const int referenceSize = byteCountFor(m_objects.size() - 1);
    QByteArray bytes;
    bytes.reserve(qsizetype(8 + m_scalarBytes.size() + m_references.size() * referenceSize + m_objects.size() * 12
                            + 32));
    bytes.append("bplist00");
    std::vector<quint64> offsets;
    offsets.reserve(m_objects.size());
    for (const Object &object : m_objects) {
        offsets.push_back(quint64(bytes.size()));
        if (!object.isContainer) {
            bytes.append(m_scalarBytes.constData() + object.begin, object.length);
            continue;
        }
        appendMarker(bytes, object.marker, quint64(object.elementCount));
        for (qsizetype i = object.begin; i < object.begin + object.length; ++i)
            appendBigEndian(bytes, m_references[size_t(i)], referenceSize);
    }
    const quint64 offsetTable = quint64(bytes.size());
    const int offsetSize = byteCountFor(offsetTable);
    for (quint64 offset : offsets)
        appendBigEndian(bytes, offset, offsetSize);
    // Trailer: five unused bytes, the sort version, the two sizes and three 64-bit fields.
    bytes.append(6, '\0');
    bytes.append(char(offsetSize));
    bytes.append(char(referenceSize));
    appendBigEndian(bytes, m_objects.size(), 8);
    appendBigEndian(bytes, top, 8);
    appendBigEndian(bytes, offsetTable, 8);
    return bytes;
}

} // namespace lexi
