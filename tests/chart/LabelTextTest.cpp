// Label texts in the "#,##0.###" format with the locale's separators.
#include <gtest/gtest.h>

#include <limits>

#include "chart/LabelText.h"

namespace {

const QString kNbsp(QChar(0x00A0));

TEST(LabelText, FormatsWithCommaAndGroupedThousands) {
    const struct {
        double value;
        const char* text;  // '_' stands for the thousands separator
    } cases[] = {
        {4.5, "4,5"},
        {1500, "1_500"},
        {0.1 + 0.2, "0,3"},
        {0, "0"},
        {-0.0, "0"},
        {-1e-17, "0"},   // what repeated subtraction leaves at zero
        {-0.0004, "0"},  // rounds to zero: no sign
        {2.9999, "3"},   // differs from 3 only in the fourth decimal
        {2.0001, "2"},
        {0.0005, "0,001"},  // halves away from zero
        {-0.0005, "-0,001"},
        {1.0005, "1,001"},  // a half in decimal, though below it in binary
        {2.0625, "2,063"},
        {-2.0625, "-2,063"},
        {123.456, "123,456"},
        {0.1, "0,1"},
        {-2.5, "-2,5"},
        {999.9996, "1_000"},  // the rounding carries into a new group
        {1234567.891, "1_234_567,891"},
        {-1234.5, "-1_234,5"},
        {100, "100"},
        {999, "999"},
        {1000, "1_000"},
        {1e20, "100_000_000_000_000_000_000"},
        {1.5e-7, "0"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) {
        const QString expected = QString::fromUtf8(c.text).replace(u'_', kNbsp);
        EXPECT_EQ(chart::FormatAxisValue(c.value, QStringLiteral(","), kNbsp), expected)
            << "value " << c.value;
    }
}

TEST(LabelText, UsesTheGivenSeparatorsOnly) {
    EXPECT_EQ(chart::FormatAxisValue(1234.5, QStringLiteral("."), QStringLiteral(",")),
              QStringLiteral("1,234.5"));
    EXPECT_EQ(chart::FormatAxisValue(1234567.25, QStringLiteral("."), QString()),
              QStringLiteral("1234567.25"));
    EXPECT_EQ(chart::FormatAxisValue(-1234.5, QStringLiteral("<d>"), QStringLiteral("<t>")),
              QStringLiteral("-1<t>234<d>5"));
}

}  // namespace
