// The statistics a player asks of the walked numbers, computed without widgets: spins,
// the three even-money pairs (counts, current and longest runs), where the even/odd balance
// peaked, dozens, columns, each number's count and spins since it last came, the five
// hottest and coldest numbers, and the chi-square test of the 36 counts against an even
// wheel. The statistics window only shows what this computes.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "roulette/Walk.h"
#include "roulette/Wheel.h"

namespace roulette {

// The test needs at least this many spins expected per number ...
constexpr int kMinExpectedPerNumber = 5;
// ... so below this many spins it gives no p-value.
constexpr int kMinSpinsForTest = kMinExpectedPerNumber * kNumbers;
// Degrees of freedom of the test: 36 counts, their sum fixed.
constexpr int kDegreesOfFreedom = kNumbers - 1;
// How many hottest and coldest numbers are named.
constexpr int kHotCold = 5;

// One even-money pair. Side 0 is even, red or 1-18; side 1 is odd, black or 19-36.
struct PairStats {
    std::array<int, 2> count{};
    int currentSide = -1;  // the side of the last spin; -1 before any spin
    int currentRun = 0;    // spins in a row on that side up to the last one
    std::array<int, 2> longest{};
};

struct NumberStats {
    int count = 0;
    int sinceLast = -1;  // spins after the last one it came in (0: it came last); -1: never
};

struct Statistics {
    int spins = 0;
    PairStats evenOdd;
    PairStats redBlack;
    PairStats lowHigh;
    // The highest and lowest balance after a spin, and the spin (from 1) that first reached
    // it; all 0 when there are no spins.
    int balanceHigh = 0;
    int balanceHighAt = 0;
    int balanceLow = 0;
    int balanceLowAt = 0;
    std::array<int, 3> dozens{};            // 1-12, 13-24, 25-36
    std::array<int, 3> columns{};           // the column of 1, of 2, of 3
    std::array<NumberStats, 37> numbers{};  // by number; entry 0 unused
    // At most kHotCold numbers each, none in both, both empty without spins. Hottest
    // first: more spins first; on equal counts the one that came more recently, then the
    // smaller number; only numbers that came at least once. Coldest first: fewer spins
    // first (numbers that never came before all others); on equal counts the one that has
    // waited longer, then the smaller number.
    std::vector<int> hottest;
    std::vector<int> coldest;
    // Sum over the 36 numbers of (count - expected)^2 / expected, expected = spins / 36;
    // 0 without spins.
    double chiSquare = 0;
    // The chance that an even wheel spreads the counts at least this far; none below
    // kMinSpinsForTest spins.
    std::optional<double> pValue;
};

// What the test says in plain words.
enum class Verdict {
    TooLittleData,  // no p-value
    TooEven,        // p > 0.99: the counts are closer together than chance usually leaves them
    Ordinary,       // 0.05 <= p <= 0.99
    Notable,        // 0.01 <= p < 0.05
    Unusual,        // p < 0.01
};
Verdict VerdictOf(const Statistics& s);

// The statistics of `numbers` in the order they came; numbers outside 1 to 36 are skipped.
Statistics FromNumbers(const std::vector<int>& numbers);

// The statistics of the numbers a walk recorded (Walk.h), skipping any outside 1 to 36.
Statistics FromRecord(const SpinRecord& record);

// The upper tail of the chi-square distribution with `dof` degrees of freedom at `chi2`:
// the regularised upper incomplete gamma function Q(dof / 2, chi2 / 2).
double ChiSquareUpperTail(double chi2, int dof);

}  // namespace roulette
