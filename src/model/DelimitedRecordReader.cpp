#include "DelimitedRecordReader.h"

namespace lexi {

DelimitedRecordReader::DelimitedRecordReader(QStringView text, QChar delimiter, std::optional<QChar> quote,
                                             Quoting quoting)
    : m_text(text), m_delimiter(delimiter), m_quote(quote), m_quoting(m_quote ? quoting : Quoting::asNeeded)
{
}

QStringList DelimitedRecordReader::nextRecord()
{
    QStringList fields;
    for (;;) {
        const bool quoted = m_quote && m_position < m_text.size() && m_text[m_position] == *m_quote;
        if (m_quoting == Quoting::everyField)
            fields.append(fieldOfQuotedRow());
        else
            fields.append(quoted ? quotedField() : unquotedField());
        // Every field stops at a delimiter, a line break or the end of the text.
        if (atEnd())
            return fields;
        const bool lineEnds = m_text[m_position] == u'\n';
        ++m_position;
        if (lineEnds)
            return fields;
    }
}

qsizetype DelimitedRecordReader::countQuotedFields(QStringView text, QChar delimiter, QChar quote)
{
    qsizetype count = 0;
    qsizetype position = 0;
    const auto isFieldEnd = [&](qsizetype at) {
        return at >= text.size() || text[at] == delimiter || text[at] == u'\n';
    };
    while (position < text.size()) {
        if (text[position] == quote) {
            // A search stops at the first quote that is not doubled, and a later field starting
            // before it would start with a doubled quote: the text is read about once.
            qsizetype at = position + 1;
            while (at < text.size() && text[at] != u'\n') {
                if (text[at] != quote) {
                    ++at;
                    continue;
                }
                if (at + 1 < text.size() && text[at + 1] == quote) {
                    at += 2;
                    continue;
                }
                if (isFieldEnd(at + 1)) {
                    ++count;
                    position = at + 1;
                }
                break;
            }
        }
        while (!isFieldEnd(position))
            ++position;
        ++position;
    }
    return count;
}

bool DelimitedRecordReader::isFieldEnd(qsizetype position) const
{
    return position >= m_text.size() || m_text[position] == m_delimiter || m_text[position] == u'\n';
}

bool DelimitedRecordReader::closesQuotedRowField(qsizetype next) const
{
    return next >= m_text.size() || m_text[next] == u'\n'
           || (m_text[next] == m_delimiter && next + 1 < m_text.size() && m_text[next + 1] == *m_quote);
}

QString DelimitedRecordReader::unquotedField()
{
    const qsizetype start = m_position;
    while (!isFieldEnd(m_position))
        ++m_position;
    return m_text.sliced(start, m_position - start).toString();
}

QString DelimitedRecordReader::quotedField()
{
    if (std::optional<QString> field = wellFormedQuotedField())
        return *std::move(field);
    if (std::optional<QString> field = quotedFieldOfOneLine())
        return *std::move(field);
    return unquotedField();
}

// A failed attempt stops at the first quote that is neither doubled nor closing, or at the end
// of the text when no quote follows. Every later field that starts before that point starts at a
// run of doubled quotes and is decided at the end of its run, so the text is read about once.
std::optional<QString> DelimitedRecordReader::wellFormedQuotedField()
{
    const QChar quote = *m_quote;
    QString field;
    qsizetype from = m_position + 1;
    for (;;) {
        const qsizetype at = m_text.indexOf(quote, from);
        if (at < 0)
            return std::nullopt;
        field.append(m_text.sliced(from, at - from));
        if (at + 1 < m_text.size() && m_text[at + 1] == quote) {
            field.append(quote);
            from = at + 2;
            continue;
        }
        if (!isFieldEnd(at + 1))
            return std::nullopt;
        m_position = at + 1;
        return field;
    }
}

// The search ends at the first delimiter without a quote in front of it, so fields that do not
// close are read again only up to there.
std::optional<QString> DelimitedRecordReader::quotedFieldOfOneLine()
{
    const QChar quote = *m_quote;
    const qsizetype start = m_position + 1;
    for (qsizetype at = start; at < m_text.size() && m_text[at] != u'\n'; ++at) {
        if (m_text[at] == m_delimiter && m_text[at - 1] != quote)
            return std::nullopt;
        if (m_text[at] != quote)
            continue;
        const qsizetype next = at + 1;
        if (closesQuotedRowField(next)) {
            m_position = next;
            return m_text.sliced(start, at - start).toString();
        }
    }
    return std::nullopt;
}

QString DelimitedRecordReader::fieldOfQuotedRow()
{
    const QChar quote = *m_quote;
    const qsizetype start = m_position < m_text.size() && m_text[m_position] == quote ? m_position + 1 : m_position;
    qsizetype at = start;
    for (; at < m_text.size() && m_text[at] != u'\n'; ++at) {
        if (m_text[at] != quote)
            continue;
        const qsizetype next = at + 1;
        if (closesQuotedRowField(next)) {
            m_position = next;
            return m_text.sliced(start, at - start).toString();
        }
    }
    m_position = at;
    return m_text.sliced(start, at - start).toString();
}

} // namespace lexi
