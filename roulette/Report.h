// The statistics window's report as text, for the clipboard: one figure a line, its label,
// a tab, then its value or values separated by tabs, written as the window writes them
// (the locale's decimal separator), so that a spreadsheet takes the lines as rows.
#pragma once

#include <QString>
#include <optional>

#include "roulette/Sector.h"
#include "roulette/Statistics.h"

namespace roulette {

// The lines, each ending in "\n", in this order:
//   Спинов                  spins
//   Хи-квадрат              the statistic, two decimals ("—" without spins)
//   p хи-квадрат            its p-value ("0,468", "< 0,001"; "—" below 180 spins)
//   Горячий сектор          the arc's numbers in wheel order separated by spaces, its hits,
//                           the hits expected with one decimal ("—" without spins)
//   p сектора               `sectorP` as the chi-square's ("—" when there is none)
//   Чёт ... 19–36           per side of each even-money pair: count, share, current run
//                           ("—" when the last spin was on the other side), longest run
//   Баланс наибольший/наименьший   the balance with its sign, the spin that reached it
//   1-я дюжина ... 3-я колонна     count, share
//   Горячие номера, Холодные номера   the numbers separated by ", "
//   Номер 1 ... Номер 36    count, spins since it last came ("—": never)
QString StatisticsReport(const Statistics& s, const SectorScan& scan,
                         std::optional<double> sectorP);

}  // namespace roulette
