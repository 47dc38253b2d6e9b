#include "DelimitedRecordReader.h"

namespace lexi {

DelimitedRecordReader::DelimitedRecordReader(QStringView text, QChar delimiter, std::optional<QChar> quote)
    : m_text(text), m_delimiter(delimiter), m_quote(quote)
{
}

QStringList DelimitedRecordReader::nextRecord()
{
    QStringList fields;
    for (;;) {
        const bool quoted = m_quote && m_position < m_text.size() && m_text[m_position] == *m_quote;
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

bool DelimitedRecordReader::isFieldEnd(qsizetype position) const
{
    return position >= m_text.size() || m_text[position] == m_delimiter || m_text[position] == u'\n';
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
    return quotedFieldOfOneLine();
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

QString DelimitedRecordReader::quotedFieldOfOneLine()
{
    const QChar quote = *m_quote;
    QString field;
    qsizetype at = m_position + 1;
    while (at < m_text.size() && m_text[at] != u'\n') {
        if (m_text[at] != quote) {
            field.append(m_text[at]);
            ++at;
            continue;
        }
        qsizetype runEnd = at;
        while (runEnd < m_text.size() && m_text[runEnd] == quote)
            ++runEnd;
        const bool closes = isFieldEnd(runEnd);
        field.append(QString(runEnd - at - (closes ? 1 : 0), quote));
        at = runEnd;
        if (closes)
            break;
    }
    m_position = at;
    return field;
}

} // namespace lexi
