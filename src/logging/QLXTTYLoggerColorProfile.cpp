#include "QLXTTYLoggerColorProfile.h"

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr char escape = '\x1b';

// The 16 colours of a classic colour terminal, as terminals show them.
constexpr std::array<QLXTTYColor, 16> ansi16Colors = {{
    {0, 0, 0},       {194, 54, 33},   {37, 188, 36},   {173, 173, 39},  {73, 46, 225},  {211, 56, 211},
    {51, 187, 200},  {203, 204, 205}, {129, 131, 131}, {252, 57, 31},   {49, 231, 34},  {234, 236, 35},
    {88, 51, 255},   {249, 53, 248},  {20, 240, 240},  {233, 235, 235},
}};

QLXTTYColorTable makeAnsi16Table()
{
    QLXTTYColorTable table;
    for (int i = 0; i < 16; ++i) {
        const QByteArray bold = i < 8 ? QByteArray() : QByteArrayLiteral("1;");
        table.foregroundCodes.push_back(bold + QByteArray::number(30 + i % 8) + 'm');
        table.backgroundCodes.push_back(bold + QByteArray::number(40 + i % 8) + 'm');
        table.colors.push_back(ansi16Colors[std::size_t(i)]);
    }
    return table;
}

// Colours 16 to 255 of a 256-colour terminal: the 6x6x6 cube and the grey ramp.
QLXTTYColorTable makeAnsi256Table()
{
    constexpr std::array<quint8, 6> cubeLevels = {0, 95, 135, 175, 215, 255};
    QLXTTYColorTable table;
    for (int number = 16; number < 256; ++number) {
        table.foregroundCodes.push_back("38;5;" + QByteArray::number(number) + 'm');
        table.backgroundCodes.push_back("48;5;" + QByteArray::number(number) + 'm');
        if (number < 232) {
            const int cube = number - 16;
            table.colors.push_back({cubeLevels[std::size_t(cube / 36)], cubeLevels[std::size_t(cube / 6 % 6)],
                                    cubeLevels[std::size_t(cube % 6)]});
        } else {
            const auto grey = quint8(8 + 10 * (number - 232));
            table.colors.push_back({grey, grey, grey});
        }
    }
    return table;
}

double fraction(quint8 component)
{
    return component / 255.0;
}

} // namespace

QLXTTYColorMode colorModeFromEnvironment(const QByteArray &xcodeColors, const QByteArray &term)
{
    if (xcodeColors == "YES")
        return QLXTTYColorMode::XcodeColors;
    const QByteArray lowerTerm = term.toLower();
    if (lowerTerm.contains("color"))
        return lowerTerm.contains("256") ? QLXTTYColorMode::Ansi256 : QLXTTYColorMode::Ansi16;
    return QLXTTYColorMode::None;
}

const QLXTTYColorTable &QLXTTYColorTable::forMode(QLXTTYColorMode mode)
{
    static const QLXTTYColorTable none;
    static const QLXTTYColorTable ansi16 = makeAnsi16Table();
    static const QLXTTYColorTable ansi256 = makeAnsi256Table();
    switch (mode) {
    case QLXTTYColorMode::Ansi16:
        return ansi16;
    case QLXTTYColorMode::Ansi256:
        return ansi256;
    default:
        return none;
    }
}

std::size_t QLXTTYColorTable::codeIndexForColor(const QLXTTYColor &color) const
{
    double bestDistance = 100.0;
    std::size_t bestIndex = 0;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const double distance = std::hypot(fraction(color.red) - fraction(colors[i].red),
                                           fraction(color.green) - fraction(colors[i].green),
                                           fraction(color.blue) - fraction(colors[i].blue));
        if (distance < bestDistance) {
            bestDistance = distance;
            bestIndex = i;
        }
    }
    return bestIndex;
}

QLXTTYLoggerColorProfile::QLXTTYLoggerColorProfile(std::optional<QLXTTYColor> foreground,
                                                   std::optional<QLXTTYColor> background, int mask, int context,
                                                   QLXTTYColorMode mode)
    : mask(mask)
    , context(context)
{
    const QLXTTYColorTable &table = QLXTTYColorTable::forMode(mode);
    const bool isAnsi = mode == QLXTTYColorMode::Ansi16 || mode == QLXTTYColorMode::Ansi256;
    // Fills the components, the table entry and the escape sequence of one side of the rule.
    const auto takeColor = [&](const QLXTTYColor &color, const std::vector<QByteArray> &codes, const char *xcodePrefix,
                               quint8 &red, quint8 &green, quint8 &blue, std::size_t &index, QByteArray &raw,
                               QByteArray &code) {
        red = color.red;
        green = color.green;
        blue = color.blue;
        if (isAnsi) {
            index = table.codeIndexForColor(color);
            raw = codes[index];
            code = QByteArray(1, escape) + '[' + raw;
        } else if (mode == QLXTTYColorMode::XcodeColors) {
            code = (QByteArray(1, escape) + '[' + xcodePrefix + QByteArray::number(color.red) + ','
                    + QByteArray::number(color.green) + ',' + QByteArray::number(color.blue) + ';')
                       .left(23);
        }
    };
    if (foreground)
        takeColor(*foreground, table.foregroundCodes, "fg", fg_r, fg_g, fg_b, fgCodeIndex, fgCodeRaw, fgCode);
    if (background)
        takeColor(*background, table.backgroundCodes, "bg", bg_r, bg_g, bg_b, bgCodeIndex, bgCodeRaw, bgCode);
    if (isAnsi)
        resetCode = QByteArray(1, escape) + "[0m";
    else if (mode == QLXTTYColorMode::XcodeColors)
        resetCode = QByteArray(1, escape) + "[;";
}

QString QLXTTYLoggerColorProfile::description() const
{
    const auto number = [](auto value) { return QString::number(value); };
    return u"<QLXTTYLoggerColorProfile: 0x%1 mask:%2 ctxt:%3 fg:%4,%5,%6 bg:%7,%8,%9 fgCode:%10 bgCode:%11>"_s.arg(
        QString::number(quintptr(this), 16), number(mask), number(context), number(fg_r), number(fg_g), number(fg_b),
        number(bg_r), number(bg_g), number(bg_b), QString::fromUtf8(fgCodeRaw), QString::fromUtf8(bgCodeRaw));
}
