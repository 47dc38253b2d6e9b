#include "Format.h"

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace lexi {

QString FormatArgument::toText() const
{
    return std::visit(
        [](const auto &value) -> QString {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>)
                return value;
            else
                return QString::number(value);
        },
        m_value);
}

qint64 FormatArgument::toSigned() const
{
    return std::visit(
        [](const auto &value) -> qint64 {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>)
                return value.toLongLong();
            else if constexpr (std::is_same_v<T, double>)
                return std::isfinite(value) && std::fabs(value) < 9.2e18 ? qint64(value) : 0;
            else
                return qint64(value);
        },
        m_value);
}

quint64 FormatArgument::toUnsigned() const
{
    if (const auto *value = std::get_if<quint64>(&m_value))
        return *value;
    if (const auto *text = std::get_if<QString>(&m_value))
        return text->toULongLong();
    return quint64(toSigned());
}

double FormatArgument::toDouble() const
{
    return std::visit(
        [](const auto &value) -> double {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>)
                return value.toDouble();
            else
                return double(value);
        },
        m_value);
}

namespace {

struct Placeholder
{
    int position = 0; // 1-based; 0 for the next argument in order
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    int width = 0;
    int precision = -1;
    QChar conversion;
};

bool isLengthModifier(QChar c)
{
    return c == u'h' || c == u'l' || c == u'q' || c == u'L' || c == u'z' || c == u't' || c == u'j';
}

bool isConversion(QChar c)
{
    return QStringView(u"@sdiuxXofFeEgGc").contains(c);
}

// Reads a number at `index`, bounded so that absurd widths cannot exhaust memory.
int readNumber(QStringView text, qsizetype &index)
{
    int number = 0;
    while (index < text.size() && text[index].isDigit()) {
        number = std::min(number * 10 + text[index].digitValue(), 1000);
        ++index;
    }
    return number;
}

// Parses the placeholder after the '%' at `index`; leaves `index` after it. Nothing when the text
// there is no placeholder.
std::optional<Placeholder> parsePlaceholder(QStringView text, qsizetype &index)
{
    Placeholder placeholder;
    qsizetype at = index;

    const qsizetype digitsStart = at;
    const int leading = readNumber(text, at);
    if (at > digitsStart && at < text.size() && text[at] == u'$' && leading > 0) {
        placeholder.position = leading;
        ++at;
    } else {
        at = digitsStart;
    }
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c == u'-')
            placeholder.leftAlign = true;
        else if (c == u'0')
            placeholder.zeroPad = true;
        else if (c == u'+')
            placeholder.plusSign = true;
        else if (c == u' ')
            placeholder.spaceSign = true;
        else
            break;
    }
    placeholder.width = readNumber(text, at);
    if (at < text.size() && text[at] == u'.') {
        ++at;
        placeholder.precision = readNumber(text, at);
    }
    while (at < text.size() && isLengthModifier(text[at]))
        ++at;
    if (at >= text.size() || !isConversion(text[at]))
        return std::nullopt;
    placeholder.conversion = text[at];
    index = at + 1;
    return placeholder;
}

QString withSign(QString digits, bool negative, const Placeholder &placeholder)
{
    if (negative)
        return u'-' + digits;
    if (placeholder.plusSign)
        return u'+' + digits;
    if (placeholder.spaceSign)
        return u' ' + digits;
    return digits;
}

QString padded(QString text, const Placeholder &placeholder, bool numeric)
{
    const qsizetype missing = placeholder.width - text.size();
    if (missing <= 0)
        return text;
    if (placeholder.leftAlign)
        return text + QString(missing, u' ');
    if (placeholder.zeroPad && numeric) {
        const qsizetype signLength = !text.isEmpty() && (text[0] == u'-' || text[0] == u'+' || text[0] == u' ') ? 1 : 0;
        return text.left(signLength) + QString(missing, u'0') + text.mid(signLength);
    }
    return QString(missing, u' ') + text;
}

QString formatFloating(double value, const Placeholder &placeholder)
{
    if (std::isnan(value))
        return u"nan"_s;
    if (std::isinf(value))
        return withSign(u"inf"_s, value < 0, placeholder);
    const char conversion = char(placeholder.conversion.toLatin1());
    const int precision = placeholder.precision < 0 ? 6 : std::min(placeholder.precision, 100);
    const char style = conversion == 'F' ? 'f' : conversion;
    QString digits = QString::number(std::fabs(value), style, precision);
    return withSign(digits, std::signbit(value) && value != 0.0, placeholder);
}

QString formatOne(const Placeholder &placeholder, const FormatArgument &argument)
{
    const char conversion = char(placeholder.conversion.toLatin1());
    switch (conversion) {
    case '@':
    case 's': {
        QString text = argument.toText();
        if (placeholder.precision >= 0)
            text.truncate(placeholder.precision);
        return padded(text, placeholder, false);
    }
    case 'd':
    case 'i': {
        const qint64 value = argument.toSigned();
        const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
        return padded(withSign(QString::number(magnitude), value < 0, placeholder), placeholder, true);
    }
    case 'u':
        return padded(QString::number(argument.toUnsigned()), placeholder, true);
    case 'x':
    case 'X': {
        QString digits = QString::number(argument.toUnsigned(), 16);
        if (conversion == 'X')
            digits = digits.toUpper();
        return padded(digits, placeholder, true);
    }
    case 'o':
        return padded(QString::number(argument.toUnsigned(), 8), placeholder, true);
    case 'c':
        return padded(QString(QChar(char16_t(argument.toUnsigned() & 0xFFFF))), placeholder, false);
    default:
        return padded(formatFloating(argument.toDouble(), placeholder), placeholder, true);
    }
}

} // namespace

QString formatString(QStringView format, const QList<FormatArgument> &arguments)
{
    QString result;
    result.reserve(format.size());
    qsizetype nextArgument = 0;
    qsizetype index = 0;
    while (index < format.size()) {
        const qsizetype percent = format.indexOf(u'%', index);
        if (percent < 0) {
            result += format.mid(index);
            break;
        }
        result += format.mid(index, percent - index);
        index = percent + 1;
        if (index < format.size() && format[index] == u'%') {
            result += u'%';
            ++index;
            continue;
        }
        const auto placeholder = parsePlaceholder(format, index);
        if (!placeholder) {
            result += u'%';
            continue;
        }
        const qsizetype argumentIndex = placeholder->position > 0 ? placeholder->position - 1 : nextArgument++;
        if (argumentIndex < arguments.size())
            result += formatOne(*placeholder, arguments[argumentIndex]);
    }
    return result;
}

} // namespace lexi
