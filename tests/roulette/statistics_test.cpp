// The statistics of the walked numbers: hand-worked small lists, the reading of a walked
// list, and the test against an even wheel checked with values from a chi-square table.
#include <gtest/gtest.h>

#include <QString>
#include <random>
#include <vector>

#include "roulette/Statistics.h"
#include "roulette/Wheel.h"

namespace {

using roulette::Statistics;

struct Pair {
    std::array<int, 2> count;
    int side, run;
    std::array<int, 2> longest;
};

void ExpectPair(const roulette::PairStats& got, const Pair& want, const char* what) {
    EXPECT_EQ(got.count, want.count) << what << " counts";
    EXPECT_EQ(got.currentSide, want.side) << what << " current side";
    EXPECT_EQ(got.currentRun, want.run) << what << " current run";
    EXPECT_EQ(got.longest, want.longest) << what << " longest runs";
}

// Worked by hand. The pairs: side 0 even / red / 1-18, side 1 odd / black / 19-36.
struct HandCase {
    const char* name;
    std::vector<int> numbers;
    Pair evenOdd, redBlack, lowHigh;
    int high, highAt, low, lowAt;
    std::array<int, 3> dozens, columns;
    // number, count, spins since it last came
    std::vector<std::array<int, 3>> seen;
    std::vector<int> hottest, coldest;
};

const HandCase kHandCases[] = {
    // 1 odd red low, 2 even black low, 3 odd red low. Balance -1, 0, -1.
    {"1 2 3",
     {1, 2, 3},
     {{1, 2}, 1, 1, {1, 1}},
     {{2, 1}, 0, 1, {1, 1}},
     {{3, 0}, 0, 3, {3, 0}},
     0,
     2,
     -1,
     1,
     {3, 0, 0},
     {1, 1, 1},
     {{1, 1, 2}, {2, 1, 1}, {3, 1, 0}},
     // equal counts: the most recent first; only numbers that came are hot
     {3, 2, 1},
     {4, 5, 6, 7, 8}},
    // 36 even red high, 19 odd red high, 20 even black high, 5 odd red low.
    // Even/odd E E O E E E O, red/black R R R B B B R, low/high H H H H H H L.
    // Balance 1 2 1 2 3 4 3.
    {"36 36 19 20 20 20 5",
     {36, 36, 19, 20, 20, 20, 5},
     {{5, 2}, 1, 1, {3, 1}},
     {{4, 3}, 0, 1, {3, 3}},
     {{1, 6}, 0, 1, {1, 6}},
     4,
     6,
     1,
     1,
     {1, 4, 2},
     {1, 4, 2},
     {{36, 2, 5}, {19, 1, 4}, {20, 3, 1}, {5, 1, 0}, {1, 0, -1}},
     {20, 36, 5, 19},
     {1, 2, 3, 4, 6}},
    // A long odd run at the start, broken once, and the low side left for good.
    // Balance -1 -2 -3 -4 -3 -4.
    {"1 3 5 7 2 19",
     {1, 3, 5, 7, 2, 19},
     {{1, 5}, 1, 1, {1, 4}},
     {{5, 1}, 0, 1, {4, 1}},
     {{5, 1}, 1, 1, {5, 1}},
     -1,
     1,
     -4,
     4,
     {5, 1, 0},
     {3, 2, 1},
     {{1, 1, 5}, {7, 1, 2}, {2, 1, 1}, {19, 1, 0}},
     {19, 2, 7, 5, 3},
     {4, 6, 8, 9, 10}},
};

TEST(Statistics, HandWorkedLists) {
    for (const HandCase& c : kHandCases) {
        SCOPED_TRACE(c.name);
        const Statistics s = roulette::FromNumbers(c.numbers);
        EXPECT_EQ(s.spins, static_cast<int>(c.numbers.size()));
        ExpectPair(s.evenOdd, c.evenOdd, "even/odd");
        ExpectPair(s.redBlack, c.redBlack, "red/black");
        ExpectPair(s.lowHigh, c.lowHigh, "1-18/19-36");
        EXPECT_EQ(s.balanceHigh, c.high);
        EXPECT_EQ(s.balanceHighAt, c.highAt);
        EXPECT_EQ(s.balanceLow, c.low);
        EXPECT_EQ(s.balanceLowAt, c.lowAt);
        EXPECT_EQ(s.dozens, c.dozens);
        EXPECT_EQ(s.columns, c.columns);
        for (const auto& [n, count, since] : c.seen) {
            EXPECT_EQ(s.numbers[n].count, count) << "count of " << n;
            EXPECT_EQ(s.numbers[n].sinceLast, since) << "spins since " << n;
        }
        EXPECT_EQ(s.hottest, c.hottest);
        EXPECT_EQ(s.coldest, c.coldest);
        EXPECT_FALSE(s.pValue.has_value()) << "too little data for the test";
        EXPECT_EQ(roulette::VerdictOf(s), roulette::Verdict::TooLittleData);
    }
}

// Few spins: the hot list names only numbers that came, and no number is hot and cold.
TEST(Statistics, HotAndColdFromFewSpins) {
    const struct {
        std::vector<int> numbers;
        std::vector<int> hottest, coldest;
    } cases[] = {
        {{}, {}, {}},
        {{7}, {7}, {1, 2, 3, 4, 5}},
        {{5, 12, 7}, {7, 12, 5}, {1, 2, 3, 4, 6}},
        {{5, 12, 7, 12, 1}, {12, 1, 7, 5}, {2, 3, 4, 6, 8}},
        {{9, 9, 9, 9, 9}, {9}, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        const Statistics s = roulette::FromNumbers(c.numbers);
        EXPECT_EQ(s.hottest, c.hottest) << c.numbers.size() << " spins";
        EXPECT_EQ(s.coldest, c.coldest) << c.numbers.size() << " spins";
    }
}

TEST(Statistics, NoSpinsGiveZerosAndNoCurrentRun) {
    const Statistics s = roulette::FromNumbers({});
    EXPECT_EQ(s.spins, 0);
    EXPECT_EQ(s.evenOdd.currentSide, -1);
    EXPECT_EQ(s.evenOdd.currentRun, 0);
    EXPECT_EQ(s.balanceHighAt, 0);
    EXPECT_EQ(s.chiSquare, 0);
    EXPECT_FALSE(s.pValue.has_value());
    for (int n = 1; n <= 36; ++n)
        EXPECT_EQ(s.numbers[n].sinceLast, -1) << n;
}

TEST(Statistics, ColdTiesGoToTheLongestWaitAndChiSquareOfANearlyEvenList) {
    // Every number once, then 1 again: 2 has waited longest, 36 came most recently.
    std::vector<int> numbers;
    for (int n = 1; n <= 36; ++n)
        numbers.push_back(n);
    numbers.push_back(1);
    const Statistics s = roulette::FromNumbers(numbers);
    EXPECT_EQ(s.hottest, (std::vector<int>{1, 36, 35, 34, 33}));
    EXPECT_EQ(s.coldest, (std::vector<int>{2, 3, 4, 5, 6}));
    // Expected 37/36 each: 35 x (1/36)^2 + (35/36)^2 = 1260/1296, over 37/36: 35/37.
    EXPECT_NEAR(s.chiSquare, 35.0 / 37.0, 1e-12);
}

// The runs and waits of a long random list against a plain recount.
TEST(Statistics, RunsAndWaitsOfARandomListMatchARecount) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> number(1, 36);
    std::vector<int> numbers(5000);
    for (int& n : numbers)
        n = number(rng);
    const Statistics s = roulette::FromNumbers(numbers);
    auto check = [&](const roulette::PairStats& got, auto sideOf, const char* what) {
        std::array<int, 2> longest{};
        int run = 0;
        for (size_t i = 0; i < numbers.size(); ++i) {
            run = (i > 0 && sideOf(numbers[i]) == sideOf(numbers[i - 1])) ? run + 1 : 1;
            longest[sideOf(numbers[i])] = std::max(longest[sideOf(numbers[i])], run);
        }
        EXPECT_EQ(got.longest, longest) << what;
        EXPECT_EQ(got.currentRun, run) << what;
        EXPECT_EQ(got.currentSide, sideOf(numbers.back())) << what;
    };
    check(
        s.evenOdd, [](int n) { return n % 2; }, "even/odd");
    check(
        s.redBlack, [](int n) { return roulette::IsRed(n) ? 0 : 1; }, "red/black");
    check(
        s.lowHigh, [](int n) { return n <= 18 ? 0 : 1; }, "1-18/19-36");
    for (int n = 1; n <= 36; ++n) {
        const auto last = std::find(numbers.rbegin(), numbers.rend(), n);
        EXPECT_EQ(s.numbers[n].sinceLast, last - numbers.rbegin()) << n;
    }
}

TEST(Record, HoldsTheNumbersAsTheWalkReadThem) {
    const struct {
        const char* list;
        std::vector<int> numbers;
    } cases[] = {
        {"5 12 7", {5, 12, 7}},
        {"", {}},
        {"36", {36}},
        // empty entries, leading zeros, signs, hexadecimal, control characters
        {" 5  07 +3 0x10 \t9\t 36", {5, 7, 3, 16, 9, 36}},
        // the walk stops at the bad entry: only the numbers it drew are recorded
        {"1 2 3 abc 4", {1, 2, 3}},
        {"1 2 40", {1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        roulette::SpinRecord record;
        roulette::Walk(QString::fromUtf8(c.list), record, [](const roulette::Point&) {});
        EXPECT_EQ(std::vector<int>(record.begin(), record.end()), c.numbers);
        const Statistics got = roulette::FromRecord(record);
        const Statistics want = roulette::FromNumbers(c.numbers);
        EXPECT_EQ(got.spins, want.spins);
        for (int n = 1; n <= 36; ++n) {
            EXPECT_EQ(got.numbers[n].count, want.numbers[n].count) << n;
            EXPECT_EQ(got.numbers[n].sinceLast, want.numbers[n].sinceLast) << n;
        }
        EXPECT_EQ(got.evenOdd.longest, want.evenOdd.longest);
    }
}

// Numbers outside 1 to 36 reach neither table: they are skipped as the walk skips them.
TEST(Statistics, EntryPointsSkipNumbersOutsideTheWheel) {
    const Statistics plain = roulette::FromNumbers({5, 12, 7});
    for (const std::vector<int>& numbers :
         {std::vector<int>{0, 5, 37, 12, -1, 7, 255}, std::vector<int>{5, 12, 7, 1000000}}) {
        const Statistics s = roulette::FromNumbers(numbers);
        EXPECT_EQ(s.spins, 3);
        EXPECT_EQ(s.chiSquare, plain.chiSquare);
        EXPECT_EQ(s.numbers[12].sinceLast, plain.numbers[12].sinceLast);
    }
    const Statistics r = roulette::FromRecord(roulette::SpinRecord{0, 5, 37, 12, 200, 7});
    EXPECT_EQ(r.spins, 3);
    EXPECT_EQ(r.numbers[5].count, 1);
}

// The upper tail against a chi-square table (critical values to three decimals).
TEST(ChiSquare, UpperTailMatchesTableValues) {
    const struct {
        double chi2;
        int dof;
        double p;
    } table[] = {
        {35.0, 35, 0.4682}, {49.802, 35, 0.05}, {57.342, 35, 0.01}, {22.465, 35, 0.95},
        {18.509, 35, 0.99}, {3.841, 1, 0.05},   {6.635, 1, 0.01},   {11.070, 5, 0.05},
    };
    for (const auto& row : table)
        EXPECT_NEAR(roulette::ChiSquareUpperTail(row.chi2, row.dof), row.p, 2e-4)
            << "chi2 " << row.chi2 << ", " << row.dof << " degrees of freedom";
    EXPECT_EQ(roulette::ChiSquareUpperTail(0, 35), 1.0);
}

TEST(ChiSquare, PValueFrom180SpinsOnAndItsVerdict) {
    auto repeated = [](int each) {
        std::vector<int> v;
        for (int k = 0; k < each; ++k)
            for (int n = 1; n <= 36; ++n)
                v.push_back(n);
        return v;
    };
    std::vector<int> even = repeated(5);  // 180 spins, 5 each: chi2 0
    std::vector<int> short179(even.begin(), even.end() - 1);
    EXPECT_FALSE(roulette::FromNumbers(short179).pValue.has_value());
    const Statistics flat = roulette::FromNumbers(even);
    ASSERT_TRUE(flat.pValue.has_value());
    EXPECT_EQ(flat.chiSquare, 0);
    EXPECT_EQ(roulette::VerdictOf(flat), roulette::Verdict::TooEven);

    // 180 sevens: (180 - 5)^2 / 5 + 35 x 5 = 6300.
    const Statistics sevens = roulette::FromNumbers(std::vector<int>(180, 7));
    EXPECT_NEAR(sevens.chiSquare, 6300, 1e-9);
    EXPECT_EQ(roulette::VerdictOf(sevens), roulette::Verdict::Unusual);

    // Counts 6 and 4 alternately over 180 spins: 36 x 1/5 = 7.2, far inside the usual.
    std::vector<int> mild;
    for (int n = 1; n <= 36; ++n)
        for (int k = 0; k < (n % 2 ? 6 : 4); ++k)
            mild.push_back(n);
    const Statistics m = roulette::FromNumbers(mild);
    EXPECT_NEAR(m.chiSquare, 7.2, 1e-9);
    EXPECT_EQ(roulette::VerdictOf(m), roulette::Verdict::TooEven);  // p of 7.2 at 35 dof > 0.99

    // 1-18 at 7 each, 19-36 at 3 each: 36 x 4/5 = 28.8, an ordinary spread.
    std::vector<int> mid;
    for (int n = 1; n <= 36; ++n)
        for (int k = 0; k < (n <= 18 ? 7 : 3); ++k)
            mid.push_back(n);
    const Statistics d = roulette::FromNumbers(mid);
    EXPECT_NEAR(d.chiSquare, 28.8, 1e-9);
    EXPECT_EQ(roulette::VerdictOf(d), roulette::Verdict::Ordinary);
}

}  // namespace
