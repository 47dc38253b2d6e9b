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
// quote is read the same way (quotes inside it are text), and one that does is read as quoted
// when it closes:
// - when each quote inside it but the closing one is doubled, as spreadsheets write them, and
//   the closing quote is followed by the delimiter or a line end, each pair stands for one quote
//   and the field may hold delimiters and line breaks;
// - otherwise, when on its own line a quote is followed by the line end, or by the delimiter and
//   another quote, before a delimiter without a quote in front of it, the field ends there and
//   keeps the quotes inside it as they stand (as in "he said "woof"");
// - otherwise it was no quoted field ('cause, "Big" Ben): it is read as it stands up to the next
//   delimiter. So a stray quote never takes the rest of its line or the lines below.
// Text whose every field is quoted and whose quotes inside fields are not doubled, such as
// TextVocabularyExporter's comma form, is read as Quoting::everyField: there a field ends only
// at a quote followed by the delimiter and another quote, or by the line end, and loses one
// quote at each end.
// Reading takes time in proportion to the text.
class DelimitedRecordReader
{
public:
    enum class Quoting { asNeeded, everyField };

    // `text` must outlive the reader; the delimiter is neither the quote nor a line break.
    // Quoting::everyField needs a quote.
    DelimitedRecordReader(QStringView text, QChar delimiter, std::optional<QChar> quote,
                          Quoting quoting = Quoting::asNeeded);

    bool atEnd() const { return m_position >= m_text.size(); }
    // How far into the text the records read so far reach.
    qsizetype position() const { return m_position; }
    // The fields of the next record: at least one, which may be empty.
    QStringList nextRecord();

    // How many fields of `text` split at `delimiter` are quoted with `quote` as spreadsheets quote
    // them: starting with the quote, inner quotes doubled, closing on the same line before the
    // delimiter or the line end.
    static qsizetype countQuotedFields(QStringView text, QChar delimiter, QChar quote);

private:
    bool isFieldEnd(qsizetype position) const;
    // Whether a quote before `next` closes a field of a quoted row: the line ends there, or the
    // delimiter and the next field's quote follow.
    bool closesQuotedRowField(qsizetype next) const;
    QString unquotedField();
    QString quotedField();
    std::optional<QString> wellFormedQuotedField();
    std::optional<QString> quotedFieldOfOneLine();
    QString fieldOfQuotedRow();

    QStringView m_text;
    QChar m_delimiter;
    std::optional<QChar> m_quote;
    Quoting m_quoting;
    qsizetype m_position = 0;
};

} // namespace lexi
