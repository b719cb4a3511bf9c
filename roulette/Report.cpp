#include "roulette/Report.h"

#include <QStringList>

#include "roulette/StatisticsText.h"
#include "roulette/Wheel.h"

namespace roulette {

namespace {

const QString kNone = QStringLiteral("—");

void Line(QString& out, const QString& label, const QStringList& values) {
    out += label;
    for (const QString& v : values)
        out += u'\t' + v;
    out += u'\n';
}

}  // namespace

QString StatisticsReport(const Statistics& s, const SectorScan& scan,
                         std::optional<double> sectorP) {
    QString out;
    const bool any = s.spins > 0;
    Line(out, QStringLiteral("Спинов"), {QString::number(s.spins)});
    Line(out, QStringLiteral("Хи-квадрат"), {any ? DecimalText(s.chiSquare, 2) : kNone});
    Line(out, QStringLiteral("p хи-квадрат"), {s.pValue ? PValueNumber(*s.pValue) : kNone});
    if (any && scan.spins > 0)
        Line(out, QStringLiteral("Горячий сектор"),
             {NumbersText(ArcNumbers(scan.hottest), QStringLiteral(" ")),
              QString::number(scan.hits), DecimalText(scan.expected, 1)});
    else
        Line(out, QStringLiteral("Горячий сектор"), {kNone});
    Line(out, QStringLiteral("p сектора"), {sectorP ? PValueNumber(*sectorP) : kNone});

    const PairStats* pairs[kPairs] = {&s.evenOdd, &s.redBlack, &s.lowHigh};
    for (int p = 0; p < kPairs; ++p) {
        for (int side = 0; side < 2; ++side) {
            const PairStats& pair = *pairs[p];
            Line(out, SideHeading(static_cast<Pair>(p), side),
                 {QString::number(pair.count[side]), ShareText(pair.count[side], s.spins),
                  pair.currentSide == side ? QString::number(pair.currentRun) : kNone,
                  QString::number(pair.longest[side])});
        }
    }
    Line(out, QStringLiteral("Баланс чёт/нечет наибольший"),
         any ? QStringList{SignedText(s.balanceHigh), QString::number(s.balanceHighAt)}
             : QStringList{kNone});
    Line(out, QStringLiteral("Баланс чёт/нечет наименьший"),
         any ? QStringList{SignedText(s.balanceLow), QString::number(s.balanceLowAt)}
             : QStringList{kNone});
    for (int g = 0; g < 6; ++g) {
        const int count = g < 3 ? s.dozens[g] : s.columns[g - 3];
        Line(out, GroupName(g), {QString::number(count), ShareText(count, s.spins)});
    }
    Line(out, QStringLiteral("Горячие номера"),
         {any ? NumbersText(s.hottest, QStringLiteral(", ")) : kNone});
    Line(out, QStringLiteral("Холодные номера"),
         {any ? NumbersText(s.coldest, QStringLiteral(", ")) : kNone});
    for (int n = kLowest; n <= kHighest; ++n) {
        const NumberStats& ns = s.numbers[n];
        Line(out, QStringLiteral("Номер ") + QString::number(n),
             {QString::number(ns.count), ns.sinceLast < 0 ? kNone : QString::number(ns.sinceLast)});
    }
    return out;
}

}  // namespace roulette
