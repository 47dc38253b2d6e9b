#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace lexi {

// Reads delimited text record by record. A record ends at a line break ("\n": other line ends
// must have been turned into it), a field at the delimiter. Without a quote character a field is
// the text up to the next delimiter as it stands. With one, a field that does not start with the
// quote is read the same way (quotes inside it are text), and one that does runs to a quote
// followed by the delimiter or a line end:
// - when each quote inside it but the closing one is doubled, as spreadsheets write them, each
//   pair stands for one quote and the field may hold delimiters and line breaks;
// - otherwise the field ends with its line at the latest and keeps its quotes as they stand, but
//   for the one that closes it. So one stray quote garbles its own line, never the lines below.
// Reading takes time in proportion to the text.
class DelimitedRecordReader
{
public:
    // `text` must outlive the reader; the delimiter is neither the quote nor a line break.
    DelimitedRecordReader(QStringView text, QChar delimiter, std::optional<QChar> quote);

    bool atEnd() const { return m_position >= m_text.size(); }
    // The fields of the next record: at least one, which may be empty.
    QStringList nextRecord();

private:
    bool isFieldEnd(qsizetype position) const;
    QString unquotedField();
    QString quotedField();
    std::optional<QString> wellFormedQuotedField();
    QString quotedFieldOfOneLine();

    QStringView m_text;
    QChar m_delimiter;
    std::optional<QChar> m_quote;
    qsizetype m_position = 0;
};

} // namespace lexi
