// The even/odd walk over a normalised number list: one step up for an even number, one
// down for an odd one, with its stop reasons (a bad entry, too many empty entries). On the
// way it records the numbers it took, a byte a spin: the statistics and the chart's
// tooltips read that record, so the list is parsed once per redraw, here.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "roulette/NumberList.h"
#include "roulette/Wheel.h"

namespace roulette {

// More empty entries in a row than this stop the walk.
constexpr int kMaxEmptyRun = 100;

// The numbers the walk took (each 1 to 36), one byte a spin, in the order of the points:
// entry i is the number of the i-th point drawn.
using SpinRecord = std::vector<uint8_t>;

// One point of the walk: X = the entry's position in the list (empty entries counted), Y =
// the balance after the step, and the number that made it.
struct Point {
    int x;
    int y;
    int number;
};

enum class Stop {
    None,        // every entry was walked
    EmptyRun,    // more than kMaxEmptyRun empty entries in a row
    NotANumber,  // an entry that is not an integer
    OutOfRange,  // an integer outside 1 .. 36
};

struct Outcome {
    Stop stop = Stop::None;
    QString rejected;  // the trimmed entry that stopped the walk
    bool hadEntries = false;
};

// Walks the entries of `text` (already normalised), calling `addPoint(point)` for each valid
// number in order. `record` is refilled with those numbers (its storage is reused).
template <typename AddPoint>
Outcome Walk(QStringView text, SpinRecord& record, AddPoint&& addPoint) {
    Outcome outcome;
    record.clear();
    int position = 0;
    int balance = 0;
    int emptyRun = 0;
    ForEachEntry(text, [&](QStringView entry) {
        outcome.hadEntries = true;
        const QStringView trimmed = TrimEntry(entry);
        if (trimmed.isEmpty()) {
            ++emptyRun;
            ++position;
            if (emptyRun > kMaxEmptyRun) {
                outcome.stop = Stop::EmptyRun;
                return false;
            }
            return true;
        }
        emptyRun = 0;
        int32_t n = 0;
        if (!ReadNumber(trimmed, n)) {
            outcome.stop = Stop::NotANumber;
            outcome.rejected = trimmed.toString();
            return false;
        }
        if (!IsNumber(n)) {
            outcome.stop = Stop::OutOfRange;
            outcome.rejected = trimmed.toString();
            return false;
        }
        // Even: one step up; odd: one step down. Written without a branch, since the
        // parity of roulette numbers is as unpredictable as the wheel.
        balance += 1 - 2 * (n & 1);
        record.push_back(static_cast<uint8_t>(n));
        addPoint(Point{position, balance, n});
        ++position;
        return true;
    });
    return outcome;
}

}  // namespace roulette
