// The sector scan: the wheel's order, the arcs' counts and z-scores against a plain recount
// of random lists, the tie rules on hand-made counts, and the simulated p-value's range,
// reproducibility and agreement with the sample of fair wheels it is counted against.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "roulette/Sector.h"
#include "roulette/Statistics.h"

namespace {

using roulette::Arc;
using roulette::kNumbers;
using roulette::NumberCounts;

// The wheel clockwise from the zero, as the players' own reference lists it.
const char kWheelAsListed[] =
    "0 32 15 19 4 21 2 25 17 34 6 27 13 36 11 30 8 23 10 5 24 16 33 1 20 14 31 9 22 18 29 7 "
    "28 12 35 3 26";

TEST(SectorTest, WheelOrderIsTheSingleZeroWheelAndTheRingLeavesOutTheZero) {
    const QStringList listed = QString(kWheelAsListed).split(' ');
    ASSERT_EQ(listed.size(), static_cast<int>(roulette::kWheelOrder.size()));
    for (int i = 0; i < listed.size(); ++i)
        EXPECT_EQ(roulette::kWheelOrder[i], listed[i].toInt()) << "pocket " << i;

    std::set<int> seen;
    for (int i = 0; i < kNumbers; ++i) {
        EXPECT_EQ(roulette::kWheelRing[i], roulette::kWheelOrder[i + 1]) << "ring " << i;
        seen.insert(roulette::kWheelRing[i]);
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kNumbers));
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 36);
}

TEST(SectorTest, ArcNumbersRunClockwiseAndWrapFrom26To32) {
    struct Case {
        Arc arc;
        std::vector<int> numbers;
    };
    const Case cases[] = {
        {{0, 3}, {32, 15, 19}},
        {{33, 3}, {35, 3, 26}},
        {{35, 2}, {26, 32}},  // the zero between them is left out
        {{34, 5}, {3, 26, 32, 15, 19}},
        {{27, 9}, {22, 18, 29, 7, 28, 12, 35, 3, 26}},
        {{20, 18}, {16, 33, 1, 20, 14, 31, 9, 22, 18, 29, 7, 28, 12, 35, 3, 26, 32, 15}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(roulette::ArcNumbers(c.arc), c.numbers)
            << "start " << c.arc.start << " length " << c.arc.length;
}

NumberCounts CountsOf(const std::vector<int>& numbers) {
    NumberCounts counts{};
    for (int n : numbers)
        ++counts[n];
    return counts;
}

// Every arc's hits counted spin by spin, without prefix sums.
struct Recount {
    Arc arc;
    int hits;
    double z;
};

std::vector<Recount> RecountAllArcs(const std::vector<int>& numbers) {
    std::vector<Recount> all;
    const double n = static_cast<double>(numbers.size());
    for (int length = roulette::kShortestArc; length <= roulette::kLongestArc; ++length) {
        for (int start = 0; start < kNumbers; ++start) {
            const std::vector<int> arc = roulette::ArcNumbers({start, length});
            int hits = 0;
            for (int x : numbers)
                hits += std::count(arc.begin(), arc.end(), x) > 0 ? 1 : 0;
            const double p = length / 36.0;
            const double z = n > 0 ? (hits - n * p) / std::sqrt(n * p * (1 - p)) : 0.0;
            all.push_back({{start, length}, hits, z});
        }
    }
    return all;
}

TEST(SectorTest, ScanAgreesWithARecountOfEveryArcOnRandomLists) {
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> sizeOf(0, 400);
    std::uniform_int_distribution<int> number(1, 36);
    std::uniform_int_distribution<int> anyStart(0, kNumbers - 1);
    for (int list = 0; list < 150; ++list) {
        // Small lists tie often; every third list leans towards one arc.
        const int size = list < 30 ? list : sizeOf(random);
        const std::vector<int> lean = roulette::ArcNumbers({anyStart(random), 6});
        std::vector<int> numbers;
        for (int i = 0; i < size; ++i) {
            const bool leaning = list % 3 == 0 && random() % 5 == 0;
            numbers.push_back(leaning ? lean[random() % lean.size()] : number(random));
        }
        const roulette::SectorScan scan = roulette::ScanSectors(CountsOf(numbers));
        const std::vector<Recount> all = RecountAllArcs(numbers);

        SCOPED_TRACE("list " + std::to_string(list) + " of " + std::to_string(size));
        EXPECT_EQ(scan.spins, size);
        const double top =
            std::max_element(all.begin(), all.end(), [](auto& a, auto& b) { return a.z < b.z; })->z;
        EXPECT_NEAR(scan.z, top, 1e-9);
        // The first arc (shortest, then earliest start) whose z is the largest.
        const auto first = std::find_if(all.begin(), all.end(),
                                        [&](const Recount& r) { return r.z > top - 1e-9; });
        EXPECT_EQ(scan.hottest, first->arc)
            << "got " << scan.hottest.start << "/" << scan.hottest.length << ", want "
            << first->arc.start << "/" << first->arc.length;
        EXPECT_EQ(scan.hits, first->hits);
        EXPECT_DOUBLE_EQ(scan.expected, size * first->arc.length / 36.0);
    }
}

// Hand-made counts, given in ring order (entry i is the count of kWheelRing[i]).
struct TieCase {
    const char* name;
    std::vector<std::pair<int, int>> ringCounts;  // ring position, count
    Arc hottest;
    int hits;
};

const TieCase kTieCases[] = {
    // Every z is 0: the first of the shortest arcs.
    {"no spins", {}, {0, 3}, 0},
    {"every number twice",
     [] {
         std::vector<std::pair<int, int>> all;
         for (int i = 0; i < kNumbers; ++i)
             all.push_back({i, 2});
         return all;
     }(),
     {0, 3},
     6},
    // 27 13 36 and 16 33 1 ten times each: the same length and z, the earlier start in
    // ring order wins (not the one holding the smaller numbers).
    {"two equal triples",
     {{10, 10}, {11, 10}, {12, 10}, {20, 10}, {21, 10}, {22, 10}},
     {10, 3},
     30},
    // The triple at 4 to 6 holds half of 36 spins and the eleven from 0 to 10 hold all:
    // z = 15n / sqrt(99n) = 25n / sqrt(275n), exactly equal. The shorter arc wins though
    // the longer starts first.
    {"a triple and eleven tie exactly",
     {{0, 3}, {1, 3}, {2, 3}, {4, 6}, {5, 6}, {6, 6}, {8, 3}, {9, 3}, {10, 3}},
     {4, 3},
     18},
    // 3 26 32 15: the hottest arc runs across the zero's place.
    {"across the zero", {{34, 5}, {35, 5}, {0, 5}, {1, 5}, {17, 1}}, {34, 4}, 20},
};

TEST(SectorTest, TiesGoToTheShorterArcThenTheEarlierStart) {
    for (const TieCase& c : kTieCases) {
        NumberCounts counts{};
        for (auto [position, count] : c.ringCounts)
            counts[roulette::kWheelRing[position]] = count;
        const roulette::SectorScan scan = roulette::ScanSectors(counts);
        EXPECT_EQ(scan.hottest, c.hottest)
            << c.name << ": got " << scan.hottest.start << "/" << scan.hottest.length;
        EXPECT_EQ(scan.hits, c.hits) << c.name;
    }
}

TEST(SectorTest, ScoresCompareAsTheirZWithoutRounding) {
    // Same n = 36: z = excess / sqrt(36 * length * (36 - length)).
    const roulette::ArcScore triple{15 * 36, 3}, eleven{25 * 36, 11};
    EXPECT_FALSE(triple < eleven);
    EXPECT_FALSE(eleven < triple);
    const roulette::ArcScore elevenAndAHit{25 * 36 + 1, 11};
    EXPECT_TRUE(triple < elevenAndAHit);
    EXPECT_FALSE(elevenAndAHit < triple);
    // Negative scores: the one nearer zero is larger, whatever the lengths.
    const roulette::ArcScore coldTriple{-15 * 36, 3}, coldEleven{-25 * 36 - 1, 11};
    EXPECT_TRUE(coldEleven < coldTriple);
    EXPECT_TRUE(coldTriple < triple);
    EXPECT_FALSE(triple < coldTriple);
}

// Counts of `spins` spins thrown on a fair wheel with `seed`.
NumberCounts FairCounts(int spins, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> number(1, 36);
    NumberCounts counts{};
    for (int i = 0; i < spins; ++i)
        ++counts[number(random)];
    return counts;
}

TEST(SectorTest, PValueIsAbsentBelowTheTestsMinimumAndAProperShareAbove) {
    const int draws = 999;
    for (int spins : {0, 1, roulette::kMinSpinsForTest - 1}) {
        const NumberCounts counts = FairCounts(spins, 7);
        EXPECT_FALSE(roulette::SectorPValue(roulette::ScanSectors(counts), 1, draws).has_value())
            << spins << " spins";
    }
    for (int spins : {roulette::kMinSpinsForTest, 1000, 100000}) {
        const NumberCounts counts = FairCounts(spins, spins);
        const auto p = roulette::SectorPValue(roulette::ScanSectors(counts), 1, draws);
        ASSERT_TRUE(p.has_value()) << spins << " spins";
        EXPECT_GE(*p, 1.0 / (draws + 1));
        EXPECT_LE(*p, 1.0);
        const double hitsPlusOne = *p * (draws + 1);
        EXPECT_NEAR(hitsPlusOne, std::round(hitsPlusOne), 1e-6) << spins << " spins";
    }
    const roulette::SectorScan some = roulette::ScanSectors(FairCounts(500, 3));
    EXPECT_FALSE(roulette::SectorPValue(some, 1, 0).has_value());
}

TEST(SectorTest, PValueAtItsExtremes) {
    const int draws = 999;
    // Every number equally often: the largest z is 0, and every fair wheel reaches it
    // (the excesses of one length sum to 0 over the 36 starts, so one is at least 0).
    NumberCounts even{};
    even.fill(10);
    EXPECT_EQ(roulette::SectorPValue(roulette::ScanSectors(even), 5, draws), 1.0);
    // Every spin on 22 18 29: no fair wheel of 720 spins comes near.
    NumberCounts hot{};
    hot[22] = hot[18] = hot[29] = 240;
    EXPECT_EQ(roulette::SectorPValue(roulette::ScanSectors(hot), 5, draws), 1.0 / (draws + 1));
}

TEST(SectorTest, PValueIsReproducibleAndCountsTheSampleOfFairWheels) {
    const int draws = 2000;
    for (int spins : {180, 400, 2000, 50000}) {
        for (unsigned session = 0; session < 3; ++session) {
            const NumberCounts counts = FairCounts(spins, 100 * spins + session);
            const roulette::SectorScan scan = roulette::ScanSectors(counts);
            const std::uint64_t seed = roulette::SectorSeed(counts);
            EXPECT_EQ(seed, roulette::SectorSeed(counts));
            const auto p = roulette::SectorPValue(scan, seed, draws);
            ASSERT_TRUE(p.has_value());
            EXPECT_EQ(p, roulette::SectorPValue(scan, seed, draws));

            // The same wheels, scanned whole: the p-value counts those not below the scan.
            const std::vector<roulette::ArcScore> sample =
                roulette::FairLargestScores(spins, seed, draws);
            ASSERT_EQ(sample.size(), static_cast<size_t>(draws));
            const roulette::ArcScore observed = roulette::ScoreOf(scan);
            const auto notBelow = std::count_if(sample.begin(), sample.end(),
                                                [&](auto& s) { return !(s < observed); });
            EXPECT_DOUBLE_EQ(*p, (1.0 + notBelow) / (draws + 1.0))
                << spins << " spins, session " << session;

            // Another seed draws other wheels; the p-values differ by chance alone.
            const auto other = roulette::SectorPValue(scan, seed + 1, draws);
            const double spread = std::sqrt(*p * (1 - *p) / draws);
            EXPECT_NEAR(*other, *p, 5 * spread + 2.0 / draws);
        }
    }
}

TEST(SectorTest, SeedFollowsEveryCount) {
    NumberCounts counts = FairCounts(700, 11);
    const std::uint64_t seed = roulette::SectorSeed(counts);
    std::set<std::uint64_t> seeds{seed};
    for (int n = 1; n <= kNumbers; ++n) {
        NumberCounts changed = counts;
        ++changed[n];
        seeds.insert(roulette::SectorSeed(changed));
    }
    // Moving a spin from one number to another keeps the total but not the seed.
    NumberCounts moved = counts;
    --moved[1];
    ++moved[2];
    seeds.insert(roulette::SectorSeed(moved));
    EXPECT_EQ(seeds.size(), static_cast<size_t>(kNumbers + 2));
}

}  // namespace
