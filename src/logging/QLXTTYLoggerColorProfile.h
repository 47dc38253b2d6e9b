#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A colour of a terminal line, 0-255 per component.
struct QLXTTYColor
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;

    friend bool operator==(const QLXTTYColor &, const QLXTTYColor &) = default;
};

// How the terminal takes colours: XcodeColors escapes ("XcodeColors" is YES), ANSI with 16 or
// 256 colours (TERM names a colour terminal), or not at all.
enum class QLXTTYColorMode { None, XcodeColors, Ansi16, Ansi256 };

QLXTTYColorMode colorModeFromEnvironment(const QByteArray &xcodeColors, const QByteArray &term);

// The colours an ANSI terminal offers: the escape codes of each entry and the colour it shows.
struct QLXTTYColorTable
{
    std::vector<QByteArray> foregroundCodes;
    std::vector<QByteArray> backgroundCodes;
    std::vector<QLXTTYColor> colors;

    // The table of a mode; empty for the modes without one.
    static const QLXTTYColorTable &forMode(QLXTTYColorMode mode);
    // The entry nearest to `color`; the first of equally near entries wins; 0 when empty.
    std::size_t codeIndexForColor(const QLXTTYColor &color) const;
};

// One colour rule of the terminal logger: the escape sequences written around the lines of the
// records it applies to.
class QLXTTYLoggerColorProfile
{
public:
    // Applies to any context.
    static constexpr int anyContext = 2147483647;

    QLXTTYLoggerColorProfile(std::optional<QLXTTYColor> foreground, std::optional<QLXTTYColor> background, int mask,
                             int context, QLXTTYColorMode mode);

    int mask = 0;
    int context = 0;
    quint8 fg_r = 0, fg_g = 0, fg_b = 0;
    quint8 bg_r = 0, bg_g = 0, bg_b = 0;
    std::size_t fgCodeIndex = 0;
    QByteArray fgCodeRaw;
    std::size_t bgCodeIndex = 0;
    QByteArray bgCodeRaw;
    QByteArray fgCode;
    QByteArray bgCode;
    QByteArray resetCode;

    QString description() const;
};
