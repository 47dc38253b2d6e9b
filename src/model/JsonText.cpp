#include "JsonText.h"

#include <charconv>
#include <cmath>

namespace lexi::jsonText {

namespace {

bool isNumberCharacter(char character)
{
    return (character >= '0' && character <= '9') || character == '-' || character == '+' || character == '.'
           || character == 'e' || character == 'E';
}

} // namespace

std::optional<Number> parsedNumber(std::string_view token)
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

QString decodedText(std::string_view text)
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

QByteArray withOversizedNumbersAsNull(QByteArray json)
{
    bool inString = false;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char character = json[i];
        if (inString) {
            if (character == '\\')
                ++i;
            else if (character == '"')
                inString = false;
            continue;
        }
        if (character == '"') {
            inString = true;
            continue;
        }
        if (character != '-' && (character < '0' || character > '9'))
            continue;
        qsizetype end = i;
        while (end < json.size() && isNumberCharacter(json[end]))
            ++end;
        double value = 0;
        const char *first = json.constData() + i;
        // Too large or too small a number has at least five characters ("1e309").
        if (end - i >= 4 && std::from_chars(first, json.constData() + end, value).ec == std::errc::result_out_of_range)
            json.replace(i, end - i, QByteArray("null").leftJustified(end - i, ' '));
        i = end - 1;
    }
    return json;
}

} // namespace lexi::jsonText
