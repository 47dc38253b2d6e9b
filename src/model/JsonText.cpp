#include "JsonText.h"

#include <charconv>

namespace lexi::jsonText {

namespace {

bool isNumberCharacter(char character)
{
    return (character >= '0' && character <= '9') || character == '-' || character == '+' || character == '.'
           || character == 'e' || character == 'E';
}

} // namespace

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
