#include "roulette/Statistics.h"

#include <algorithm>
#include <boost/math/special_functions/gamma.hpp>
#include <climits>
#include <cstdint>

#include "roulette/Wheel.h"

namespace roulette {

namespace {

// Per number, one bit per even-money pair that is set on side 1: bit 0 odd, bit 1 black,
// bit 2 19-36.
constexpr std::array<uint8_t, 37> MakeSideBits() {
    std::array<uint8_t, 37> bits{};
    for (int n = 1; n <= kNumbers; ++n)
        bits[n] =
            static_cast<uint8_t>((IsEven(n) ? 0 : 1) | (IsRed(n) ? 0 : 2) | (IsLow(n) ? 0 : 4));
    return bits;
}
constexpr std::array<uint8_t, 37> kSideBits = MakeSideBits();

// Runs of one pair, kept in registers: the longest of each side is raised on every spin
// instead of when a run ends, and everything is masks and arithmetic, since the side of
// each spin is as unpredictable as the wheel and a branch on it would mispredict half
// the time.
struct RunTracker {
    int run = 0;
    int longest0 = 0;
    int longest1 = 0;

    // `same`: 1 when the spin stays on the side of the one before; `side1`: 1 on side 1.
    void Add(unsigned same, unsigned side1) {
        run = (run & -static_cast<int>(same)) + 1;
        const int on1 = -static_cast<int>(side1);  // all ones on side 1
        longest0 = std::max(longest0, run & ~on1);
        longest1 = std::max(longest1, run & on1);
    }
};

// The single pass over the numbers: everything that depends on their order. What depends
// only on the counts is worked out afterwards.
class Accumulator {
public:
    // Feeds the numbers that `forEach(add)` passes to `add`. The running state lives in
    // locals meanwhile: kept in members beside the count arrays, every store to a count
    // could change them as far as the compiler knows, and they would go through memory.
    template <typename ForEach>
    void Consume(ForEach&& forEach) {
        int* const count = count_.data();
        int* const last = last_.data();
        int spins = spins_;
        unsigned previous = previous_;
        RunTracker r0 = runs_[0], r1 = runs_[1], r2 = runs_[2];
        int balance = balance_;
        int high = high_, highAt = highAt_, low = low_, lowAt = lowAt_;
        forEach([&](int n) {
            ++count[n];
            last[n] = spins;
            ++spins;
            const unsigned bits = kSideBits[n];
            const unsigned same = ~(bits ^ previous);  // bit set: the pair stayed on its side
            previous = bits;
            r0.Add(same & 1, bits & 1);
            r1.Add((same >> 1) & 1, (bits >> 1) & 1);
            r2.Add((same >> 2) & 1, (bits >> 2) & 1);
            balance += 1 - 2 * static_cast<int>(bits & 1);
            // New highs and lows are rare after the first spins: these branches predict well.
            if (balance > high) {
                high = balance;
                highAt = spins;
            }
            if (balance < low) {
                low = balance;
                lowAt = spins;
            }
        });
        spins_ = spins;
        previous_ = previous;
        runs_ = {r0, r1, r2};
        balance_ = balance;
        high_ = high;
        highAt_ = highAt;
        low_ = low;
        lowAt_ = lowAt;
    }

    Statistics Finish() const;

private:
    std::array<int, 37> count_{};
    std::array<int, 37> last_{};
    int spins_ = 0;
    // The side bits of the last spin. The first spin starts a run of 1 whatever they are.
    unsigned previous_ = 0;
    std::array<RunTracker, 3> runs_{};
    int balance_ = 0;
    int high_ = INT_MIN;
    int highAt_ = 0;
    int low_ = INT_MAX;
    int lowAt_ = 0;
};

Statistics Accumulator::Finish() const {
    Statistics s;
    s.spins = spins_;
    if (spins_ == 0) return s;
    s.balanceHigh = high_;
    s.balanceHighAt = highAt_;
    s.balanceLow = low_;
    s.balanceLowAt = lowAt_;

    PairStats* pairs[3] = {&s.evenOdd, &s.redBlack, &s.lowHigh};
    for (int n = 1; n <= kNumbers; ++n) {
        const int c = count_[n];
        s.numbers[n].count = c;
        s.numbers[n].sinceLast = c ? spins_ - 1 - last_[n] : -1;
        for (int p = 0; p < 3; ++p)
            pairs[p]->count[(kSideBits[n] >> p) & 1] += c;
        s.dozens[DozenOf(n)] += c;
        s.columns[ColumnOf(n)] += c;
    }
    // The current run stands on the last spin's side.
    for (int p = 0; p < 3; ++p) {
        pairs[p]->currentSide = (previous_ >> p) & 1;
        pairs[p]->currentRun = runs_[p].run;
        pairs[p]->longest = {runs_[p].longest0, runs_[p].longest1};
    }

    // Hot and cold. Waiting time: spins since last, never-come numbers the longest of all.
    auto waited = [&](int n) { return count_[n] ? spins_ - 1 - last_[n] : INT_MAX; };
    std::array<int, kNumbers> order{};
    for (int i = 0; i < kNumbers; ++i)
        order[i] = i + 1;
    std::array<int, kNumbers> byHeat = order;
    std::sort(byHeat.begin(), byHeat.end(), [&](int a, int b) {
        if (count_[a] != count_[b]) return count_[a] > count_[b];
        if (waited(a) != waited(b)) return waited(a) < waited(b);
        return a < b;
    });
    std::array<int, kNumbers> byCold = order;
    std::sort(byCold.begin(), byCold.end(), [&](int a, int b) {
        if (count_[a] != count_[b]) return count_[a] < count_[b];
        if (waited(a) != waited(b)) return waited(a) > waited(b);
        return a < b;
    });
    for (int n : byHeat) {
        if (static_cast<int>(s.hottest.size()) == kHotCold || count_[n] == 0) break;
        s.hottest.push_back(n);
    }
    for (int n : byCold) {
        if (static_cast<int>(s.coldest.size()) == kHotCold) break;
        if (std::find(s.hottest.begin(), s.hottest.end(), n) == s.hottest.end())
            s.coldest.push_back(n);
    }

    const double expected = static_cast<double>(spins_) / kNumbers;
    double chi2 = 0;
    for (int n = 1; n <= kNumbers; ++n) {
        const double d = count_[n] - expected;
        chi2 += d * d / expected;
    }
    s.chiSquare = chi2;
    if (spins_ >= kMinSpinsForTest) s.pValue = ChiSquareUpperTail(chi2, kDegreesOfFreedom);
    return s;
}

}  // namespace

Statistics FromNumbers(const std::vector<int>& numbers) {
    Accumulator a;
    a.Consume([&numbers](auto&& add) {
        for (int n : numbers)
            if (IsNumber(n)) add(n);
    });
    return a.Finish();
}

Statistics FromRecord(const SpinRecord& record) {
    Accumulator a;
    a.Consume([&record](auto&& add) {
        // Every byte the walk records is 1 to 36; the test costs next to nothing, since it
        // always goes the same way, and keeps a record from elsewhere within the tables.
        for (const uint8_t n : record)
            if (IsNumber(n)) add(n);
    });
    return a.Finish();
}

double ChiSquareUpperTail(double chi2, int dof) {
    if (chi2 <= 0) return 1.0;
    return boost::math::gamma_q(dof / 2.0, chi2 / 2.0);
}

Verdict VerdictOf(const Statistics& s) {
    if (!s.pValue) return Verdict::TooLittleData;
    const double p = *s.pValue;
    if (p < 0.01) return Verdict::Unusual;
    if (p < 0.05) return Verdict::Notable;
    if (p > 0.99) return Verdict::TooEven;
    return Verdict::Ordinary;
}

}  // namespace roulette
