// What the sector scan is worth, measured by simulation: how often it raises a false alarm
// on fair wheels, and how often it finds a known hot arc (beside the chi-square on the same
// sessions). The tests hold these figures to their targets and the benchmarks print them.
// Each session's p-value is counted against one sample of fair wheels per number of spins,
// which is exact in law, since the largest z of a fair wheel depends on the spins alone;
// the program's own SectorPValue draws its sample from each list's seed instead.
#pragma once

#include <cstdint>
#include <vector>

#include "roulette/Sector.h"

namespace roulette {

// The spins of one session, in the order they came, on a wheel where the `favoured`
// numbers are `factor` times as likely as each of the others (a fair wheel when `favoured`
// is empty). The same arguments give the same spins with every standard library.
std::vector<int> DrawSession(int spins, const std::vector<int>& favoured, double factor,
                             std::uint64_t seed);

// The scores of FairLargestScores in increasing order, to count against.
std::vector<ArcScore> SortedFairSample(int spins, std::uint64_t seed, int draws);

// (1 + the scores of `sorted` not below `observed`) / (size + 1).
double SampleSectorPValue(const std::vector<ArcScore>& sorted, const ArcScore& observed);

struct TrialSetup {
    int spins = 0;
    int sessions = 0;
    std::vector<int> favoured;  // none: fair wheels
    double factor = 1.0;
    std::uint64_t seed = 1;        // of the sessions
    std::uint64_t sampleSeed = 2;  // of the fair sample
    int sampleDraws = kSectorDraws;
    double alpha = 0.05;     // a p-value at most this is a flag
    bool chiSquare = false;  // also run the chi-square on each session's statistics
    int overlapNeeded = 5;   // numbers a flagged arc must share with `favoured` to count
};

struct TrialFigures {
    int sessions = 0;
    int sectorFlags = 0;      // sessions whose sector p-value is at most alpha
    int chiSquareFlags = 0;   // sessions whose chi-square p-value is at most alpha
    int flagsOnFavoured = 0;  // sector flags whose arc shares overlapNeeded favoured numbers
    double SectorShare() const { return sessions ? double(sectorFlags) / sessions : 0; }
    double ChiSquareShare() const { return sessions ? double(chiSquareFlags) / sessions : 0; }
    double OnFavouredShare() const {
        return sectorFlags ? double(flagsOnFavoured) / sectorFlags : 0;
    }
};

TrialFigures RunTrials(const TrialSetup& setup);

}  // namespace roulette
