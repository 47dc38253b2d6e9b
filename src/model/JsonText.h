#pragma once

#include "platform/values/Date.h"
#include "platform/values/WholeNumbers.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

// The JSON text below the level of a vocabulary's document, as the vocabulary reader takes it in:
// numbers and strings as written, and numbers too large for a double.
namespace lexi::jsonText {

// A number as written.
struct Number
{
    double value = 0;
    // Whole numbers of 64 bits are kept exactly, also beyond what a double holds.
    std::optional<qint64> whole;
};

// The number a token stands for; none when it does not fit a double. (Inline, as are the
// functions below: the reader calls them for every value.)
inline std::optional<Number> parsedNumber(std::string_view token)
{
    const char *first = token.data();
    const char *last = first + token.size();
    if (token.find_first_of(".eE") == std::string_view::npos) {
        qint64 whole = 0;
        const auto [end, error] = std::from_chars(first, last, whole);
        if (error == std::errc() && end == last)
            return Number{double(whole), whole};
    }
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return Number{value, std::nullopt};
}

// The text of a string as the parser gives it (an empty one shares the empty string): UTF-8,
// except that an escaped lone low surrogate ("\udc00") comes encoded as if it were a character.
// QJsonDocument keeps such a surrogate as it is, and so does this. (The text itself is checked to
// be UTF-8, so these bytes come only from escapes.)
inline QString decodedText(std::string_view text)
{
    const auto isEncodedSurrogate = [&text](size_t at) {
        return at + 2 < text.size() && text[at] == '\xED' && (uchar(text[at + 1]) & 0xE0) == 0xA0;
    };
    size_t surrogate = text.find('\xED');
    while (surrogate != std::string_view::npos && !isEncodedSurrogate(surrogate))
        surrogate = text.find('\xED', surrogate + 1);
    if (surrogate == std::string_view::npos)
        return text.empty() ? QString() : QString::fromUtf8(text.data(), qsizetype(text.size()));
    QString decoded;
    size_t start = 0;
    for (size_t at = surrogate; at < text.size(); ++at) {
        if (!isEncodedSurrogate(at))
            continue;
        decoded += QString::fromUtf8(text.data() + start, qsizetype(at - start));
        decoded += QChar(char16_t(0xD000 | ((uchar(text[at + 1]) & 0x3F) << 6) | (uchar(text[at + 2]) & 0x3F)));
        at += 2;
        start = at + 1;
    }
    decoded += QString::fromUtf8(text.data() + start, qsizetype(text.size() - start));
    return decoded;
}

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
