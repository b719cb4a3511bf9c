// The sector scan: where on the physical wheel the numbers bunch. The 36 numbers are taken
// in the order they sit on the single-zero wheel, with the zero left out so that 26 and 32
// are neighbours; every arc of 3 to 18 neighbours at each of the 36 starts (576 arcs) gets
// the z-score of its hits, and the hottest arc's p-value is found by simulating fair wheels
// of the same number of spins, so that looking at every arc is paid for.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "roulette/Statistics.h"
#include "roulette/Wheel.h"

namespace roulette {

// The wheel clockwise from the zero, zero included: 0 32 15 19 4 21 2 25 17 34 6 27 13 36 11
// 30 8 23 10 5 24 16 33 1 20 14 31 9 22 18 29 7 28 12 35 3 26.
extern const std::array<int, kNumbers + 1> kWheelOrder;
// The same without the zero: the ring the arcs run on.
extern const std::array<int, kNumbers> kWheelRing;

constexpr int kShortestArc = 3;
constexpr int kLongestArc = 18;
constexpr int kArcs = (kLongestArc - kShortestArc + 1) * kNumbers;  // 576
// Fair wheels simulated for a p-value.
constexpr int kSectorDraws = 10000;

// Counts of the numbers 1 to 36, indexed by number (entry 0 unused).
using NumberCounts = std::array<int, kNumbers + 1>;

// The counts of the statistics' 36 numbers.
NumberCounts CountsOf(const Statistics& s);

// An arc of `length` neighbours starting at kWheelRing[start] and running clockwise.
struct Arc {
    int start = 0;
    int length = 0;
    bool operator==(const Arc& o) const { return start == o.start && length == o.length; }
};

// The numbers of the arc in wheel order.
std::vector<int> ArcNumbers(Arc arc);

struct SectorScan {
    int spins = 0;
    Arc hottest;          // largest z; on a tie the shorter arc, then the earlier start
    int hits = 0;         // spins that fell in it
    double expected = 0;  // spins * length / 36
    double z = 0;
};

// An arc's z in whole numbers, so that it compares without rounding: for an arc of `length`
// numbers with C hits out of n spins, excess = 36 * C - n * length, and
// z = excess / sqrt(n * length * (36 - length)). Arcs of different lengths can have exactly
// the same z (3 and 11 numbers, 4 and 12, 6 and 16), which floating point might tell apart
// by a rounding; compared as scores of the same n they tie as they should.
struct ArcScore {
    std::int64_t excess = 0;
    int length = kShortestArc;
};
// Whether a's z is below b's, both of the same number of spins.
bool operator<(const ArcScore& a, const ArcScore& b);

// The score of the scan's hottest arc.
ArcScore ScoreOf(const SectorScan& scan);

// The hottest arc of `counts`; spins is their sum. Without spins every z is 0 and the
// hottest arc is the first of the shortest.
SectorScan ScanSectors(const NumberCounts& counts);

// The seed of the simulation, a function of the counts alone, so the same list always
// gives the same p-value.
std::uint64_t SectorSeed(const NumberCounts& counts);

// The chance that a fair wheel of the same number of spins gives a largest z at least
// scan.z over all arcs: (1 + hits) / (draws + 1) over `draws` simulated wheels drawn from
// `seed`. None below kMinSpinsForTest spins (Statistics.h), for fewer than one draw, or for
// a scan whose arc is not one of the 576.
std::optional<double> SectorPValue(const SectorScan& scan, std::uint64_t seed,
                                   int draws = kSectorDraws);

// The largest score over all arcs of each of `draws` fair wheels of `spins` spins, in the
// order drawn: the very wheels that SectorPValue draws from the same seed, so that the
// p-value is (1 + the scores not below the scan's) / (draws + 1). The null distribution of
// the largest z depends on the spins alone, which lets a calibration reuse one sample.
std::vector<ArcScore> FairLargestScores(int spins, std::uint64_t seed, int draws);

}  // namespace roulette
