#pragma once

#include "VocabularyJsonReader.h"

#include "platform/values/Date.h"
#include "platform/values/WholeNumbers.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <optional>
#include <string_view>

// The JSON text below the level of a vocabulary's document, as the vocabulary reader takes it in:
// the text in pieces, numbers and strings as written, and numbers too large for a double.
namespace lexi::jsonText {

// The text of a source, piece by piece, as the parser reads it: one character at a time.
class PieceStream
{
public:
    using Ch = char;

    explicit PieceStream(const VocabularyJsonReader::Source &source) : m_source(source)
    {
        // A byte order mark before the text, as QJsonDocument allows. Anything else beginning
        // with its first byte is no JSON anyway.
        for (const char mark : {'\xEF', '\xBB', '\xBF'}) {
            if (Peek() != mark)
                break;
            Take();
        }
    }

    Ch Peek() { return m_position != m_end || nextPiece() ? *m_position : '\0'; }
    Ch Take() { return m_position != m_end || nextPiece() ? *m_position++ : '\0'; }
    size_t Tell() const { return m_before + size_t(m_position - m_piece.constData()); }

    // Only for parsing in place, which is not done here.
    Ch *PutBegin() { return nullptr; }
    void Put(Ch) {}
    void Flush() {}
    size_t PutEnd(Ch *) { return 0; }

private:
    bool nextPiece()
    {
        if (m_ended)
            return false;
        m_before += size_t(m_piece.size());
        m_piece = m_source();
        m_position = m_piece.constData();
        m_end = m_position + m_piece.size();
        m_ended = m_piece.isEmpty();
        return !m_ended;
    }

    const VocabularyJsonReader::Source &m_source;
    QByteArray m_piece;
    const char *m_position = nullptr;
    const char *m_end = nullptr;
    size_t m_before = 0;
    bool m_ended = false;
};

// A number as written.
struct Number
{
    double value = 0;
    // Whole numbers of 64 bits are kept exactly, also beyond what a double holds.
    std::optional<qint64> whole;
};

// The number a token stands for; none when it does not fit a double.
std::optional<Number> parsedNumber(std::string_view token);

// The text of a string as the parser gives it (an empty one shares the empty string): UTF-8,
// except that an escaped lone low surrogate ("\udc00") comes encoded as if it were a character.
// QJsonDocument keeps such a surrogate as it is, and so does this. (The text itself is checked to
// be UTF-8, so these bytes come only from escapes.)
QString decodedText(std::string_view text);

// One value met where the reader expects a scalar; containers are only told apart from them.
struct Scalar
{
    enum class Type { string, number, boolean, null, container };

    Type type = Type::null;
    // The contents of a string (UTF-8), the token of a number.
    std::string_view text;
    bool boolean = false;

    // The same rules as lexi::json's readers of QJsonValues.
    QString string() const { return type == Type::string ? decodedText(text) : QString(); }
    std::optional<QString> optionalString() const
    {
        return type == Type::string ? std::optional<QString>(string()) : std::nullopt;
    }
    std::optional<Number> number() const { return type == Type::number ? parsedNumber(text) : std::nullopt; }
    bool boolValue() const
    {
        if (type == Type::boolean)
            return boolean;
        const std::optional<Number> value = number();
        return value && value->value != 0.0;
    }
    std::optional<qint64> integer() const
    {
        const std::optional<Number> value = number();
        if (!value)
            return std::nullopt;
        return value->whole ? *value->whole : truncatedToInt64(value->value);
    }
    qint64 counter() const { return std::max<qint64>(0, integer().value_or(0)); }
    std::optional<Date> date() const
    {
        const std::optional<Number> value = number();
        if (!value)
            return std::nullopt;
        const Date date = Date::fromSecondsSince1970(value->value);
        return date.isPlausible() ? std::optional<Date>(date) : std::nullopt;
    }
};


// The text with every number that does not fit a double replaced by null (and blanks to its
// length), so that the parser, which refuses such numbers, reads them as missing values.
QByteArray withOversizedNumbersAsNull(QByteArray json);

} // namespace lexi::jsonText
