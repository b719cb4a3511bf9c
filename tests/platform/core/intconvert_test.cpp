// The integer syntax shared by the number list, the page-size box and the settings store.
#include <gtest/gtest.h>

#include <QString>

#include "platform/core/IntConvert.h"

namespace {

struct Case {
    const char* text;
    bool ok;
    int32_t value;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class IntConvert : public ::testing::TestWithParam<Case> {};

TEST_P(IntConvert, ReadsOrRefuses) {
    const Case& c = GetParam();
    const auto v = platform::TryStrToInt(QString::fromLatin1(c.text));
    ASSERT_EQ(v.has_value(), c.ok) << "text: \"" << c.text << "\"";
    if (c.ok) {
        EXPECT_EQ(*v, c.value) << "text: \"" << c.text << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntConvert,
    ::testing::Values(
        // decimal, signs, leading spaces and zeros
        Case{"7", true, 7}, Case{"+7", true, 7}, Case{"007", true, 7}, Case{"-5", true, -5},
        Case{"  12", true, 12}, Case{"0", true, 0}, Case{"-0", true, 0},
        Case{"2147483647", true, 2147483647}, Case{"-2147483648", true, INT32_MIN},
        Case{"2147483648", false, 0}, Case{"-2147483649", false, 0},
        Case{"99999999999999999999", false, 0},
        // hexadecimal prefixes, both cases of digits, 32-bit patterns
        Case{"$7", true, 7}, Case{"x7", true, 7}, Case{"X7", true, 7}, Case{"0x07", true, 7},
        Case{"0X24", true, 36}, Case{"$24", true, 36}, Case{"$A", true, 10}, Case{"$ff", true, 255},
        Case{"0xFF", true, 255}, Case{"$FFFFFFFF", true, -1}, Case{"$80000000", true, INT32_MIN},
        Case{"-$1", true, -1}, Case{"+0x10", true, 16}, Case{"$000000000FF", true, 255},
        Case{"$100000000", false, 0}, Case{"$FFFFFFFF0", false, 0},
        // texts that are not integers
        Case{"", false, 0}, Case{"+", false, 0}, Case{"-", false, 0}, Case{"$", false, 0},
        Case{"0x", false, 0}, Case{"x", false, 0}, Case{"7a", false, 0}, Case{"7.0", false, 0},
        Case{"1 2", false, 0}, Case{"7 ", false, 0}, Case{"abc", false, 0}, Case{"--1", false, 0},
        Case{"+-1", false, 0}, Case{"$-1", false, 0}, Case{"00x7", false, 0}, Case{"0$7", false, 0},
        Case{"\t7", false, 0}, Case{"$g", false, 0}, Case{"1e3", false, 0}));

TEST(IntConvertDef, FallsBackOnlyWhenTheTextIsNoInteger) {
    EXPECT_EQ(platform::StrToIntDef(u"abc", 50), 50);
    EXPECT_EQ(platform::StrToIntDef(u"-", 50), 50);
    EXPECT_EQ(platform::StrToIntDef(u"-5", 50), -5);
    EXPECT_EQ(platform::StrToIntDef(u"9999", 50), 9999);
}

TEST(IntConvertWide, NonLatinDigitsAreNotDigits) {
    // Arabic-Indic and full-width digits must not pass as numbers.
    EXPECT_FALSE(platform::TryStrToInt(QString::fromUtf8("\u0663")).has_value());
    EXPECT_FALSE(platform::TryStrToInt(QString::fromUtf8("\uFF17")).has_value());
}

}  // namespace
