#include "chart/LabelText.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/core/Locale.h"

namespace chart {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kDecimals = 3;

// The decimal digits of |value| and the position of the decimal point in them: the value
// is 0.d1d2...dn x 10^pointPos. Exactly kSignificantDigits digits.
void DecimalDigits(double value, std::string& digits, int& pointPos) {
    char buf[64];
    // Scientific with 14 decimals: "d.dddddddddddddde[+-]xx", independent of the C locale.
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, kSignificantDigits - 1);
    const std::string text(buf, res.ptr);
    const std::string::size_type e = text.find('e');
    digits.clear();
    for (std::string::size_type i = 0; i < e; ++i)
        if (text[i] >= '0' && text[i] <= '9') digits.push_back(text[i]);
    pointPos = std::stoi(text.substr(e + 1)) + 1;
}

}  // namespace

QString FormatAxisValue(double value, const QString& decimalSeparator,
                        const QString& thousandSeparator) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    std::string digits;
    int pointPos = 0;
    DecimalDigits(value, digits, pointPos);

    // Lay the digits out as integer digits and at least kDecimals decimals: zeros in front
    // when the value is below 1, zeros behind when the integer part is longer than them.
    if (pointPos < 1) {
        digits.insert(0, static_cast<size_t>(1 - pointPos), '0');
        pointPos = 1;
    }
    const size_t keep = static_cast<size_t>(pointPos + kDecimals);
    if (digits.size() < keep) digits.append(keep - digits.size(), '0');

    // Round at the third decimal, halves away from zero (the digits are of |value|).
    const bool roundUp = digits.size() > keep && digits[keep] >= '5';
    digits.resize(keep);
    if (roundUp) {
        int i = static_cast<int>(keep) - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
            digits[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<size_t>(i)];
        } else {
            digits.insert(0, 1, '1');
            ++pointPos;
        }
    }

    std::string intPart = digits.substr(0, static_cast<size_t>(pointPos));
    std::string fraction = digits.substr(static_cast<size_t>(pointPos));
    const std::string::size_type firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();

    QString result;
    if (value < 0 && (intPart != "0" || !fraction.empty())) result += u'-';
    const int n = static_cast<int>(intPart.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) result += thousandSeparator;
        result += QLatin1Char(intPart[static_cast<size_t>(i)]);
    }
    if (!fraction.empty()) {
        result += decimalSeparator;
        result += QString::fromLatin1(fraction.data(), static_cast<qsizetype>(fraction.size()));
    }
    return result;
}

QString FormatAxisValue(double value) {
    const platform::FormatSettings& f = platform::Formats();
    return FormatAxisValue(value, f.decimalSeparator, f.thousandSeparator);
}

}  // namespace chart
