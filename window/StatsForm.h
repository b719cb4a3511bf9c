// The statistics window "Статистика": what the walk's numbers say beyond the walk (spins,
// the even-money pairs with their runs, where the balance peaked, dozens and columns, the
// number table, the test against an even wheel, the wheel with its hottest sector and that
// sector's p-value), a button and Ctrl+C that copy the whole report as text, and two buttons
// that copy the chart's image to the clipboard or save it as PNG. It only shows what
// roulette::Statistics and the sector scan computed; the sector's p-value comes from a
// worker thread a moment after each update. It is not a form of the settings store and
// saves nothing. F2 or Esc closes it; its content scrolls when the window is made smaller.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "roulette/Sector.h"
#include "roulette/Statistics.h"
#include "roulette/StatisticsText.h"

class QLabel;
class QPushButton;
class QScrollArea;
class TNumberTable;
class TSectorWorker;
class TWheelView;

class TStatsForm : public QWidget {
    Q_OBJECT
public:
    // A top-level window over `parent` (which owns it). `chartImage` gives the chart's
    // current picture for the two buttons.
    TStatsForm(QWidget* parent, std::function<QImage()> chartImage);
    ~TStatsForm() override;

    // Shows `s` in every part of the window. The hottest sector shows at once, its p-value
    // when the worker has it (a later call replaces a computation not yet shown).
    void ShowStatistics(const roulette::Statistics& s);

    // The whole report as text, one figure a line (StatisticsReport); a p-value the worker
    // has not delivered yet is computed here.
    QString ReportText();

    // The button handlers.
    void CopyStatistics();
    void CopyChart();
    void SaveChart();

    // The size the window would like, everything in view without scrolling.
    QSize PreferredSize() const;

    // The sector's p-value as shown now: none before the worker delivered it (or below
    // kMinSpinsForTest spins).
    std::optional<double> ShownSectorP() const { return sectorP_; }
    // True while a p-value is being computed for the statistics shown.
    bool SectorPending() const { return pending_; }
    // The worker (for tests: how many p-values it computed).
    const TSectorWorker& SectorWorker() const { return *worker_; }

    QScrollArea* Scroll_Area = nullptr;
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
    TWheelView* Wheel_View = nullptr;
    QLabel* Sector_Label = nullptr;
    QLabel* SectorVerdict_Label = nullptr;
    QPushButton* CopyStats_Btn = nullptr;
    QPushButton* Copy_Btn = nullptr;
    QPushButton* Save_Btn = nullptr;

private:
    void ShowSector();

    std::function<QImage()> chartImage_;
    roulette::Statistics stats_;
    roulette::NumberCounts counts_{};
    roulette::SectorScan scan_;
    std::optional<double> sectorP_;
    bool pending_ = false;
    std::uint64_t request_ = 0;  // the number of the last request sent to the worker
    // The counts the worker was last asked about: the same counts again (Enter on the same
    // list) reuse its answer.
    std::optional<roulette::NumberCounts> askedFor_;
    std::unique_ptr<TSectorWorker> worker_;  // destroyed first: waits for its thread
};

// "p = 0,468", or "p < 0,001" (StatisticsText.h, shared with the report).
using roulette::kSmallestShownPValue;
using roulette::PValueText;

// The sentence the window says about the test's outcome.
QString VerdictText(roulette::Verdict verdict);
// The test's line: the statistic, its degrees of freedom and, from enough spins on, p.
QString TestText(const roulette::Statistics& s);

// The sentence the window says about the hottest sector's p-value; none: too little data.
QString SectorVerdictText(std::optional<double> p);
// The sector's two lines: its numbers in wheel order, hits and expected, and p when known
// (`pending`: still being computed).
QString SectorText(const roulette::SectorScan& scan, std::optional<double> p, bool pending);
