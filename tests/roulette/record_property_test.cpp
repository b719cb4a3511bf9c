// The statistics over the walk's record against a plain recount: random lists with bad
// entries mixed in are walked as the window walks them, and everything the statistics
// report is counted again here, the simple way, from the numbers before the walk's stop.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "roulette/Statistics.h"
#include "roulette/Walk.h"

namespace {

struct Recount {
    int spins = 0;
    std::array<int, 37> count{};
    std::array<int, 37> since{};
    std::array<std::array<int, 2>, 3> sideCount{};
    std::array<std::array<int, 2>, 3> longest{};
    std::array<int, 3> currentSide{-1, -1, -1};
    std::array<int, 3> currentRun{};
    int high = 0, highAt = 0, low = 0, lowAt = 0;
    std::array<int, 3> dozens{}, columns{};
    std::vector<int> hottest, coldest;
    double chi2 = 0;
};

int Side(int pair, int n) {
    if (pair == 0) return n % 2 == 0 ? 0 : 1;
    if (pair == 1) {
        static const std::vector<int> red = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                             19, 21, 23, 25, 27, 30, 32, 34, 36};
        return std::count(red.begin(), red.end(), n) ? 0 : 1;
    }
    return n <= 18 ? 0 : 1;
}

Recount Count(const std::vector<int>& numbers) {
    Recount r;
    r.spins = static_cast<int>(numbers.size());
    r.since.fill(-1);
    int balance = 0;
    for (int i = 0; i < r.spins; ++i) {
        const int n = numbers[i];
        ++r.count[n];
        balance += n % 2 == 0 ? 1 : -1;
        if (i == 0 || balance > r.high) r.high = balance, r.highAt = i + 1;
        if (i == 0 || balance < r.low) r.low = balance, r.lowAt = i + 1;
        ++r.dozens[(n - 1) / 12];
        ++r.columns[(n - 1) % 3];
        for (int p = 0; p < 3; ++p) {
            const int side = Side(p, n);
            ++r.sideCount[p][side];
            r.currentRun[p] = side == r.currentSide[p] ? r.currentRun[p] + 1 : 1;
            r.currentSide[p] = side;
            r.longest[p][side] = std::max(r.longest[p][side], r.currentRun[p]);
        }
    }
    for (int n = 1; n <= 36; ++n) {
        for (int i = r.spins - 1; i >= 0; --i)
            if (numbers[i] == n) {
                r.since[n] = r.spins - 1 - i;
                break;
            }
    }
    if (r.spins == 0) return r;
    // Hot: most spins, then most recent, then the smaller number; only numbers that came.
    std::vector<int> all;
    for (int n = 1; n <= 36; ++n)
        all.push_back(n);
    auto wait = [&](int n) { return r.since[n] < 0 ? 1 << 30 : r.since[n]; };
    std::vector<int> hot = all;
    std::stable_sort(hot.begin(), hot.end(), [&](int a, int b) {
        return r.count[a] != r.count[b] ? r.count[a] > r.count[b] : wait(a) < wait(b);
    });
    for (int n : hot)
        if (r.hottest.size() < 5 && r.count[n] > 0) r.hottest.push_back(n);
    std::vector<int> cold = all;
    std::stable_sort(cold.begin(), cold.end(), [&](int a, int b) {
        return r.count[a] != r.count[b] ? r.count[a] < r.count[b] : wait(a) > wait(b);
    });
    for (int n : cold)
        if (r.coldest.size() < 5 &&
            std::find(r.hottest.begin(), r.hottest.end(), n) == r.hottest.end())
            r.coldest.push_back(n);
    const double e = r.spins / 36.0;
    for (int n = 1; n <= 36; ++n)
        r.chi2 += (r.count[n] - e) * (r.count[n] - e) / e;
    return r;
}

TEST(RecordProperty, StatisticsOverTheRecordEqualAPlainRecount) {
    std::mt19937 rng(20261210);
    const QStringList bad = {"abc", "0", "37", "-5", "7.0", "x", "+", "99"};
    for (int round = 0; round < 300; ++round) {
        // Mostly numbers, written as a player may write them, with now and then an empty
        // entry and, in some lists, a bad entry where the walk stops.
        const int length = std::uniform_int_distribution<int>(0, round < 250 ? 60 : 1500)(rng);
        QStringList entries;
        std::vector<int> expected;
        bool stopped = false;
        for (int i = 0; i < length; ++i) {
            const int kind = std::uniform_int_distribution<int>(0, 99)(rng);
            if (kind < 3) {
                entries << bad[std::uniform_int_distribution<int>(0, bad.size() - 1)(rng)];
                stopped = true;
            } else if (kind < 6) {
                entries << QString();
            } else {
                const int n = std::uniform_int_distribution<int>(1, 36)(rng);
                entries << (kind < 10   ? QStringLiteral("0x%1").arg(n, 0, 16)
                            : kind < 13 ? QStringLiteral("+0%1").arg(n)
                                        : QString::number(n));
                if (!stopped) expected.push_back(n);
            }
        }
        const QString list = entries.join(u' ');
        SCOPED_TRACE(list.left(120).toStdString());
        roulette::SpinRecord record;
        roulette::Walk(list, record, [](const roulette::Point&) {});
        ASSERT_EQ(std::vector<int>(record.begin(), record.end()), expected);

        const roulette::Statistics s = roulette::FromRecord(record);
        const Recount want = Count(expected);
        ASSERT_EQ(s.spins, want.spins);
        for (int n = 1; n <= 36; ++n) {
            EXPECT_EQ(s.numbers[n].count, want.count[n]) << n;
            EXPECT_EQ(s.numbers[n].sinceLast, want.since[n]) << n;
        }
        const roulette::PairStats* pairs[3] = {&s.evenOdd, &s.redBlack, &s.lowHigh};
        for (int p = 0; p < 3; ++p) {
            EXPECT_EQ(pairs[p]->count, want.sideCount[p]) << "pair " << p;
            EXPECT_EQ(pairs[p]->longest, want.longest[p]) << "pair " << p;
            EXPECT_EQ(pairs[p]->currentSide, want.currentSide[p]) << "pair " << p;
            EXPECT_EQ(pairs[p]->currentRun, want.currentRun[p]) << "pair " << p;
        }
        EXPECT_EQ(s.balanceHigh, want.high);
        EXPECT_EQ(s.balanceHighAt, want.highAt);
        EXPECT_EQ(s.balanceLow, want.low);
        EXPECT_EQ(s.balanceLowAt, want.lowAt);
        EXPECT_EQ(s.dozens, want.dozens);
        EXPECT_EQ(s.columns, want.columns);
        EXPECT_EQ(s.hottest, want.hottest);
        EXPECT_EQ(s.coldest, want.coldest);
        EXPECT_NEAR(s.chiSquare, want.chi2, 1e-9 * std::max(1.0, want.chi2));
        EXPECT_EQ(s.pValue.has_value(), want.spins >= 180);
        if (HasFailure()) return;
    }
}

}  // namespace
