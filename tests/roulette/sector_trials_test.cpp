// The sector scan measured: its false alarms on fair wheels, its power on a wheel with a
// hot arc of nine against the chi-square's in the same sessions, and the program's own
// p-value (drawn from each list's seed) against the shared sample that the measurement
// counts against. The sessions are seeded, so the figures are the same on every run.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "roulette/SectorTrials.h"
#include "roulette/Statistics.h"

namespace {

// Nine neighbours on the wheel, from 22 to 26.
const std::vector<int> kHotNine = {22, 18, 29, 7, 28, 12, 35, 3, 26};

TEST(SectorTrialsTest, SessionsFavourTheirNumbersByTheirFactor) {
    struct Case {
        std::vector<int> favoured;
        double factor;
    };
    const Case cases[] = {{{}, 1.0}, {kHotNine, 1.2}, {{1, 36}, 3.0}};
    const int spins = 200000;
    for (const Case& c : cases) {
        const std::vector<int> numbers = roulette::DrawSession(spins, c.favoured, c.factor, 99);
        ASSERT_EQ(numbers.size(), static_cast<size_t>(spins));
        std::vector<int> count(37, 0);
        for (int n : numbers) {
            ASSERT_TRUE(roulette::IsNumber(n)) << n;
            ++count[n];
        }
        const double total = roulette::kNumbers + (c.factor - 1) * c.favoured.size();
        for (int n = 1; n <= 36; ++n) {
            const bool favoured =
                std::find(c.favoured.begin(), c.favoured.end(), n) != c.favoured.end();
            const double p = (favoured ? c.factor : 1.0) / total;
            const double sd = std::sqrt(spins * p * (1 - p));
            EXPECT_NEAR(count[n], spins * p, 5 * sd) << "number " << n << ", factor " << c.factor;
        }
    }
}

TEST(SectorTrialsTest, FalseAlarmsOnFairWheelsStayNearFivePercent) {
    for (int spins : {100, 500, 2000, 20000}) {
        roulette::TrialSetup setup;
        setup.spins = spins;
        setup.sessions = 2000;
        setup.seed = 1000 + spins;
        setup.sampleSeed = 2000 + spins;
        const roulette::TrialFigures f = roulette::RunTrials(setup);
        ASSERT_EQ(f.sessions, setup.sessions);
        EXPECT_GE(f.SectorShare(), 0.035) << spins << " spins";
        EXPECT_LE(f.SectorShare(), 0.065) << spins << " spins";
        RecordProperty("false_alarms_" + std::to_string(spins), std::to_string(f.sectorFlags));
    }
}

TEST(SectorTrialsTest, FindsNineHotNeighboursFarMoreOftenThanTheChiSquare) {
    roulette::TrialSetup setup;
    setup.spins = 2000;
    setup.sessions = 2000;
    setup.favoured = kHotNine;
    setup.factor = 1.2;
    setup.seed = 7;
    setup.sampleSeed = 8;
    setup.chiSquare = true;
    const roulette::TrialFigures f = roulette::RunTrials(setup);
    ASSERT_EQ(f.sessions, setup.sessions);
    EXPECT_GE(f.SectorShare(), 0.75);
    EXPECT_GE(f.sectorFlags, 1.5 * f.chiSquareFlags)
        << "sector " << f.sectorFlags << ", chi-square " << f.chiSquareFlags;
    EXPECT_GE(f.OnFavouredShare(), 0.85) << f.flagsOnFavoured << " of " << f.sectorFlags;
}

TEST(SectorTrialsTest, TheProgramsPValueAgreesWithTheSharedSample) {
    // The program draws its own fair wheels from each list's seed; within the error of
    // 10,000 draws it gives the p-value of the sample the measurement uses.
    for (int spins : {roulette::kMinSpinsForTest, 2000, 20000}) {
        const std::vector<roulette::ArcScore> sample =
            roulette::SortedFairSample(spins, 31 + spins, roulette::kSectorDraws);
        for (int session = 0; session < 4; ++session) {
            // Half the sessions fair, half leaning on the nine, for small p-values too.
            const std::vector<int> numbers = roulette::DrawSession(
                spins, session % 2 ? kHotNine : std::vector<int>{}, 1.3, 500 + session);
            roulette::NumberCounts counts{};
            for (int n : numbers)
                ++counts[n];
            const roulette::SectorScan scan = roulette::ScanSectors(counts);
            const auto own = roulette::SectorPValue(scan, roulette::SectorSeed(counts));
            ASSERT_TRUE(own.has_value());
            const double shared = roulette::SampleSectorPValue(sample, roulette::ScoreOf(scan));
            const double sd = std::sqrt(shared * (1 - shared) / roulette::kSectorDraws);
            EXPECT_NEAR(*own, shared, 5 * sd + 3.0 / roulette::kSectorDraws)
                << spins << " spins, session " << session;
        }
    }
}

}  // namespace
