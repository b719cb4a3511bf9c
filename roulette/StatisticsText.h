// How the statistics are written as text, in one place for the statistics window and the
// report copied from it: shares, signed balances, p-values, lists of numbers and the names
// of the dozens and columns. Decimals take the separator of the locale in force (QLocale()).
#pragma once

#include <QString>
#include <vector>

namespace roulette {

// A p-value below this is written as "< 0,001": three decimals would show 0.
constexpr double kSmallestShownPValue = 0.001;

// `value` with `decimals` decimals and the locale's separator: "35,12".
QString DecimalText(double value, int decimals);
// "0,468", or "< 0,001" below kSmallestShownPValue.
QString PValueNumber(double p);
// "p = 0,468", or "p < 0,001" below kSmallestShownPValue.
QString PValueText(double p);
// The share of `count` in `spins` in percent with one decimal: "48,6 %"; "—" without spins.
QString ShareText(int count, int spins);
// A balance with its sign: "+3", "0", "-2".
QString SignedText(int value);
// The numbers separated by `separator`: "5, 17, 3".
QString NumbersText(const std::vector<int>& numbers, const QString& separator);
// The name of group `g`: the dozens 0 to 2, then the columns 3 to 5: "1-я дюжина (1–12)".
QString GroupName(int g);

}  // namespace roulette
