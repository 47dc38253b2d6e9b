#pragma once

#include <QList>
#include <QString>

#include <concepts>
#include <string>
#include <variant>

namespace lexi {

// One value for a format: text, a signed or unsigned integer, or a floating-point number.
class FormatArgument
{
public:
    FormatArgument(const QString &text) : m_value(text) {}
    FormatArgument(QStringView text) : m_value(text.toString()) {}
    FormatArgument(QLatin1StringView text) : m_value(QString(text)) {}
    // Byte strings are UTF-8.
    FormatArgument(const char *text) : m_value(QString::fromUtf8(text)) {}
    FormatArgument(const std::string &text) : m_value(QString::fromStdString(text)) {}
    FormatArgument(bool value) : m_value(qint64(value)) {}
    FormatArgument(char character) : m_value(qint64(character)) {}
    template<std::signed_integral T>
    FormatArgument(T value) : m_value(qint64(value))
    {
    }
    template<std::unsigned_integral T>
    FormatArgument(T value) : m_value(quint64(value))
    {
    }
    FormatArgument(double value) : m_value(value) {}

    QString toText() const;
    qint64 toSigned() const;
    quint64 toUnsigned() const;
    double toDouble() const;

private:
    std::variant<QString, qint64, quint64, double> m_value;
};

// Fills a printf-style format without ever reading past its arguments, so a translated text with
// more or other placeholders than the call expects cannot crash. Understood: %@ and %s (text),
// %d %i %ld %lld %li (signed), %u %lu %llu (unsigned), %x %X %o, %c, %f %e %g with flags, width and
// precision (%.2f, %04ld, %-5d), %% and positions (%1$@). A placeholder without an argument gives
// nothing; an argument of another kind is converted. Numbers use the C locale.
QString formatString(QStringView format, const QList<FormatArgument> &arguments);

template<typename... Arguments>
QString format(QStringView text, const Arguments &...arguments)
{
    return formatString(text, QList<FormatArgument>{FormatArgument(arguments)...});
}

} // namespace lexi
