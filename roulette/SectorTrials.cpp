#include "roulette/SectorTrials.h"

#include <algorithm>
#include <boost/random/discrete_distribution.hpp>
#include <boost/random/mersenne_twister.hpp>
#include <boost/random/uniform_int_distribution.hpp>

#include "roulette/Statistics.h"

namespace roulette {

std::vector<int> DrawSession(int spins, const std::vector<int>& favoured, double factor,
                             std::uint64_t seed) {
    boost::random::mt19937_64 engine(seed);
    std::vector<int> numbers;
    numbers.reserve(static_cast<std::size_t>(std::max(spins, 0)));
    if (favoured.empty()) {
        boost::random::uniform_int_distribution<int> number(kLowest, kHighest);
        for (int i = 0; i < spins; ++i)
            numbers.push_back(number(engine));
        return numbers;
    }
    std::vector<double> weights(kNumbers, 1.0);
    for (int n : favoured)
        if (IsNumber(n)) weights[n - kLowest] = factor;
    boost::random::discrete_distribution<int, double> index(weights.begin(), weights.end());
    for (int i = 0; i < spins; ++i)
        numbers.push_back(kLowest + index(engine));
    return numbers;
}

std::vector<ArcScore> SortedFairSample(int spins, std::uint64_t seed, int draws) {
    std::vector<ArcScore> sample = FairLargestScores(spins, seed, draws);
    std::sort(sample.begin(), sample.end());
    return sample;
}

double SampleSectorPValue(const std::vector<ArcScore>& sorted, const ArcScore& observed) {
    const auto firstNotBelow = std::lower_bound(sorted.begin(), sorted.end(), observed);
    const auto notBelow = sorted.end() - firstNotBelow;
    return (1.0 + static_cast<double>(notBelow)) / (static_cast<double>(sorted.size()) + 1.0);
}

TrialFigures RunTrials(const TrialSetup& setup) {
    const std::vector<ArcScore> sample =
        SortedFairSample(setup.spins, setup.sampleSeed, setup.sampleDraws);
    TrialFigures figures;
    for (int session = 0; session < setup.sessions; ++session) {
        // Each session its own seed, a different one for every setup seed and session.
        const std::uint64_t seed = setup.seed * 0x9e3779b97f4a7c15ull + session;
        const std::vector<int> spins = DrawSession(setup.spins, setup.favoured, setup.factor, seed);
        NumberCounts counts{};
        for (int n : spins)
            ++counts[n];
        const SectorScan scan = ScanSectors(counts);
        ++figures.sessions;
        if (SampleSectorPValue(sample, ScoreOf(scan)) <= setup.alpha) {
            ++figures.sectorFlags;
            int shared = 0;
            for (int n : ArcNumbers(scan.hottest))
                shared += std::count(setup.favoured.begin(), setup.favoured.end(), n) > 0;
            if (shared >= setup.overlapNeeded) ++figures.flagsOnFavoured;
        }
        if (setup.chiSquare) {
            const Statistics statistics = FromNumbers(spins);
            if (statistics.pValue && *statistics.pValue <= setup.alpha) ++figures.chiSquareFlags;
        }
    }
    return figures;
}

}  // namespace roulette
