#include "platform/values/Format.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using lexi::format;

namespace {

struct FormatCase
{
    const char16_t *format;
    QList<lexi::FormatArgument> arguments;
    const char16_t *expected;
};

void PrintTo(const FormatCase &c, std::ostream *out)
{
    PrintTo(QString::fromUtf16(c.format), out);
}

class FormatStringTest : public testing::TestWithParam<FormatCase>
{
};

TEST_P(FormatStringTest, FillsPlaceholders)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(lexi::formatString(c.format, c.arguments), QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Placeholders, FormatStringTest,
    testing::Values(
        FormatCase{u"%ld Minutes", {59}, u"59 Minutes"},
        FormatCase{u"%@ - %@", {u"French"_s, u"English"_s}, u"French - English"},
        FormatCase{u"%d%%", {50}, u"50%"},
        FormatCase{u"%.2f", {3.14159}, u"3.14"},
        FormatCase{u"%f", {0.5}, u"0.500000"},
        FormatCase{u"%04ld-%02ld", {2014, 6}, u"2014-06"},
        FormatCase{u"%-4d|", {7}, u"7   |"},
        FormatCase{u"%x", {0x1a03u}, u"1a03"},
        FormatCase{u"%lu", {std::numeric_limits<quint64>::max()}, u"18446744073709551615"},
        FormatCase{u"%lld", {std::numeric_limits<qint64>::min()}, u"-9223372036854775808"},
        FormatCase{u"%2$@ %1$@", {u"a"_s, u"b"_s}, u"b a"},
        FormatCase{u"%s", {"UTF-8 \u00e9"}, u"UTF-8 \u00e9"},
        // Translations may carry placeholders the call has no argument for.
        FormatCase{u"%@ and %@ and %ld", {u"one"_s}, u"one and  and "},
        FormatCase{u"%5$@", {u"a"_s}, u""},
        // Arguments of another kind are converted, never reinterpreted.
        FormatCase{u"%ld", {u"12"_s}, u"12"},
        FormatCase{u"%@", {42}, u"42"},
        FormatCase{u"%d", {1.9}, u"1"},
        // Not a placeholder: written as it stands.
        FormatCase{u"100%!", {}, u"100%!"},
        FormatCase{u"ends with %", {}, u"ends with %"},
        FormatCase{u"%#x", {26}, u"%#x"},
        FormatCase{u"%.1f", {std::numeric_limits<double>::infinity()}, u"inf"}));

TEST(FormatTest, AbsurdWidthIsBounded)
{
    EXPECT_LE(format(u"%999999999d", 1).size(), 1000);
}

} // namespace
