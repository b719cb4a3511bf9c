#include "roulette/StatisticsText.h"

#include <QLocale>
#include <QStringList>

namespace roulette {

namespace {

const char* const kGroupNames[6] = {"1-я дюжина (1–12)",       "2-я дюжина (13–24)",
                                    "3-я дюжина (25–36)",      "1-я колонна (1, 4 … 34)",
                                    "2-я колонна (2, 5 … 35)", "3-я колонна (3, 6 … 36)"};

}  // namespace

QString DecimalText(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

QString PValueNumber(double p) {
    if (p < kSmallestShownPValue)
        return QStringLiteral("< ") + DecimalText(kSmallestShownPValue, 3);
    return DecimalText(p, 3);
}

QString PValueText(double p) {
    return (p < kSmallestShownPValue ? QStringLiteral("p ") : QStringLiteral("p = ")) +
           PValueNumber(p);
}

QString ShareText(int count, int spins) {
    if (spins == 0) return QStringLiteral("—");
    return DecimalText(100.0 * count / spins, 1) + QStringLiteral(" %");
}

QString SignedText(int value) {
    return value > 0 ? QStringLiteral("+") + QString::number(value) : QString::number(value);
}

QString NumbersText(const std::vector<int>& numbers, const QString& separator) {
    QStringList parts;
    for (int n : numbers)
        parts << QString::number(n);
    return parts.join(separator);
}

QString GroupName(int g) {
    return g >= 0 && g < 6 ? QString::fromUtf8(kGroupNames[g]) : QString();
}

}  // namespace roulette
