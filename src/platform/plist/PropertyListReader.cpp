#include "PropertyListReader.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace lexi {

namespace {

constexpr QByteArrayView binaryMagic = "bplist00";
constexpr qsizetype trailerSize = 32;
// How many nodes the copied tree may hold for each reference in the document: a keyed archive
// shares scalars, and perhaps small equal containers, never more.
constexpr quint64 nodesPerReference = 8;

// The structure of a binary property list: its trailer, its offset table and the references of
// its containers, checked without reading any value.
class BinaryStructure
{
public:
    explicit BinaryStructure(QByteArrayView data)
        : m_data(reinterpret_cast<const quint8 *>(data.data())), m_size(data.size())
    {
    }

    bool isSafe()
    {
        if (m_size < binaryMagic.size() + trailerSize)
            return false;
        const quint8 *trailer = m_data + m_size - trailerSize;
        m_offsetSize = trailer[6];
        m_referenceSize = trailer[7];
        m_objectCount = bigEndian(trailer + 8, 8);
        const quint64 top = bigEndian(trailer + 16, 8);
        m_offsetTable = bigEndian(trailer + 24, 8);
        const quint64 tableEnd = quint64(m_size - trailerSize);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_referenceSize < 1 || m_referenceSize > 8)
            return false;
        if (m_objectCount == 0 || top >= m_objectCount || m_offsetTable < quint64(binaryMagic.size())
            || m_offsetTable > tableEnd || m_objectCount > (tableEnd - m_offsetTable) / m_offsetSize)
            return false;
        return walkFrom(top);
    }

private:
    enum class State : quint8 { unseen, open, done };

    // A container being walked: where its references start, how many there are, how far the walk
    // got, and the nodes and depth of what was walked so far.
    struct Frame
    {
        quint64 object;
        quint64 referencesAt;
        quint64 referenceCount;
        quint64 next;
        quint64 nodes;
        quint64 depth;
    };

    static quint64 bigEndian(const quint8 *bytes, int count)
    {
        quint64 value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | bytes[i];
        return value;
    }

    // Walks every object reachable from `top` once, depth first, without recursion.
    bool walkFrom(quint64 top)
    {
        m_states.assign(m_objectCount, State::unseen);
        m_nodes.assign(m_objectCount, 0);
        m_depths.assign(m_objectCount, 0);
        if (!visit(top))
            return false;
        while (!m_stack.empty()) {
            Frame &frame = m_stack.back();
            if (frame.next == frame.referenceCount) {
                const Frame finished = frame;
                m_stack.pop_back();
                m_states[finished.object] = State::done;
                m_nodes[finished.object] = finished.nodes;
                m_depths[finished.object] = finished.depth;
                if (!m_stack.empty() && !accumulate(finished.object))
                    return false;
                continue;
            }
            const quint64 child = bigEndian(m_data + frame.referencesAt + frame.next * m_referenceSize, m_referenceSize);
            ++frame.next;
            if (child >= m_objectCount || m_states[child] == State::open)
                return false;
            if (m_states[child] == State::done) {
                if (!accumulate(child))
                    return false;
            } else if (!visit(child)) {
                return false;
            }
        }
        return m_nodes[top] <= nodesPerReference * (m_referenceTotal + 1);
    }

    // Adds a finished child to the container on top of the stack.
    bool accumulate(quint64 child)
    {
        // Held below a cap, so that the counts of a document built to explode cannot overflow.
        constexpr quint64 nodeCap = quint64(1) << 62;
        Frame &parent = m_stack.back();
        parent.nodes = std::min(parent.nodes + m_nodes[child], nodeCap);
        parent.depth = std::max(parent.depth, m_depths[child] + 1);
        return parent.depth <= quint64(PropertyListReader::maximumDepth);
    }

    // Marks a scalar done, or puts a container on the stack.
    bool visit(quint64 object)
    {
        const quint64 offset = bigEndian(m_data + m_offsetTable + object * m_offsetSize, m_offsetSize);
        if (offset < quint64(binaryMagic.size()) || offset >= m_offsetTable)
            return false;
        const quint8 marker = m_data[offset];
        const quint8 type = marker >> 4;
        if (type != 0xA && type != 0xC && type != 0xD) {
            m_states[object] = State::done;
            m_nodes[object] = 1;
            m_depths[object] = 1;
            return m_stack.empty() || accumulate(object);
        }
        std::optional<quint64> count = marker & 0x0F;
        quint64 at = offset + 1;
        if (*count == 0x0F) {
            count = countAt(at);
            if (!count)
                return false;
        }
        if (type == 0xD && *count > std::numeric_limits<quint64>::max() / 2)
            return false;
        const quint64 references = type == 0xD ? *count * 2 : *count;
        if (references > (m_offsetTable - at) / m_referenceSize)
            return false;
        // The references of distinct containers lie apart; objects whose references overlap
        // could stand for a tree of a size that grows with the square of the document's.
        m_referenceTotal += references;
        if (m_referenceTotal > quint64(m_size) / m_referenceSize)
            return false;
        m_states[object] = State::open;
        m_stack.push_back({object, at, references, 0, 1, 1});
        return m_stack.size() <= size_t(PropertyListReader::maximumDepth);
    }

    // An integer object giving a count of 15 or more; `at` moves past it.
    std::optional<quint64> countAt(quint64 &at) const
    {
        if (at >= m_offsetTable || (m_data[at] >> 4) != 0x1 || (m_data[at] & 0x0F) > 3)
            return std::nullopt;
        const int size = 1 << (m_data[at] & 0x0F);
        if (m_offsetTable - at - 1 < quint64(size))
            return std::nullopt;
        const quint64 count = bigEndian(m_data + at + 1, size);
        at += 1 + quint64(size);
        return count;
    }

    const quint8 *m_data;
    qsizetype m_size;
    int m_offsetSize = 0;
    int m_referenceSize = 0;
    quint64 m_objectCount = 0;
    quint64 m_offsetTable = 0;
    quint64 m_referenceTotal = 0;
    std::vector<State> m_states;
    std::vector<quint64> m_nodes;
    std::vector<quint64> m_depths;
    std::vector<Frame> m_stack;
};

bool isSafeXml(const QByteArray &data)
{
    QXmlStreamReader reader(data);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            // The <plist> element adds one level to the property list's own.
            if (++depth > PropertyListReader::maximumDepth + 1)
                return false;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return !reader.hasError();
}

} // namespace

PlistPointer PropertyListReader::read(const QByteArray &data)
{
    if (data.size() > qsizetype(std::numeric_limits<uint32_t>::max()))
        return nullptr;
    plist_t root = nullptr;
    if (data.startsWith(binaryMagic)) {
        if (BinaryStructure(data).isSafe())
            plist_from_bin(data.constData(), uint32_t(data.size()), &root);
    } else if (isSafeXml(data)) {
        plist_from_xml(data.constData(), uint32_t(data.size()), &root);
    }
    return PlistPointer(root);
}

} // namespace lexi
