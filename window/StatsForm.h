// The statistics window "Статистика": what the walk's numbers say beyond the walk (spins,
// the even-money pairs with their runs, where the balance peaked, dozens and columns, the
// number table, the test against an even wheel) and two buttons that copy the chart's
// image to the clipboard or save it as PNG. It only shows what roulette::Statistics computed;
// it is not a form of the settings store and saves nothing. F2 or Esc closes it.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>

#include "roulette/Statistics.h"
#include "roulette/StatisticsText.h"

class QLabel;
class QPushButton;
class TNumberTable;

class TStatsForm : public QWidget {
    Q_OBJECT
public:
    // A top-level window over `parent` (which owns it). `chartImage` gives the chart's
    // current picture for the two buttons.
    TStatsForm(QWidget* parent, std::function<QImage()> chartImage);

    // Shows `s` in every part of the window.
    void ShowStatistics(const roulette::Statistics& s);

    // The button handlers.
    void CopyChart();
    void SaveChart();

    QLabel* Spins_Label = nullptr;
    // Per pair (even/odd, red/black, 1-18/19-36), per side: count, share, current run,
    // longest run.
    std::array<std::array<std::array<QLabel*, 4>, 2>, 3> Pair_Labels{};
    QLabel* Balance_Label = nullptr;
    // Dozens, then columns: count and share.
    std::array<std::array<QLabel*, 2>, 6> Group_Labels{};
    TNumberTable* Numbers_Table = nullptr;
    QLabel* HotCold_Label = nullptr;
    QLabel* Test_Label = nullptr;
    QLabel* Verdict_Label = nullptr;
    QPushButton* Copy_Btn = nullptr;
    QPushButton* Save_Btn = nullptr;

private:
    std::function<QImage()> chartImage_;
};

// "p = 0,468", or "p < 0,001" (StatisticsText.h, shared with the report).
using roulette::kSmallestShownPValue;
using roulette::PValueText;

// The sentence the window says about the test's outcome.
QString VerdictText(roulette::Verdict verdict);
// The test's line: the statistic, its degrees of freedom and, from enough spins on, p.
QString TestText(const roulette::Statistics& s);
