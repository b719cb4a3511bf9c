#include "roulette/Sector.h"

#include <algorithm>
#include <boost/random/binomial_distribution.hpp>
#include <boost/random/mersenne_twister.hpp>
#include <cmath>

#include "roulette/Statistics.h"

namespace roulette {

const std::array<int, kNumbers + 1> kWheelOrder = {
    0, 32, 15, 19, 4, 21, 2,  25, 17, 34, 6,  27, 13, 36, 11, 30, 8, 23, 10,
    5, 24, 16, 33, 1, 20, 14, 31, 9,  22, 18, 29, 7,  28, 12, 35, 3, 26};

const std::array<int, kNumbers> kWheelRing = [] {
    std::array<int, kNumbers> ring{};
    std::copy(kWheelOrder.begin() + 1, kWheelOrder.end(), ring.begin());
    return ring;
}();

namespace {

// Counts in ring order: entry i is the count of kWheelRing[i].
using RingCounts = std::array<int, kNumbers>;

// Hits of every arc as a difference of two prefix sums over the ring laid out twice, so an
// arc that runs past 26 back to 32 needs no wrapping: hits of `length` numbers from `start`
// are sums[start + length] - sums[start].
using RingSums = std::array<std::int64_t, 2 * kNumbers + 1>;

RingSums SumsOf(const RingCounts& ring) {
    RingSums sums{};
    for (int i = 0; i < 2 * kNumbers; ++i)
        sums[i + 1] = sums[i] + ring[i % kNumbers];
    return sums;
}

// The score of `hits` in an arc of `length` out of `spins`.
ArcScore ScoreOfHits(std::int64_t hits, int length, std::int64_t spins) {
    return {kNumbers * hits - spins * length, length};
}

// The best arc of a ring: arcs are visited shortest first and, within a length, in ring
// order, and only a strictly larger score replaces the best, which is the tie rule.
struct Best {
    Arc arc{0, kShortestArc};
    std::int64_t hits = 0;
    ArcScore score;
};

Best BestArc(const RingSums& sums, std::int64_t spins) {
    Best best;
    best.hits = sums[kShortestArc];
    best.score = ScoreOfHits(best.hits, kShortestArc, spins);
    for (int length = kShortestArc; length <= kLongestArc; ++length) {
        for (int start = 0; start < kNumbers; ++start) {
            const std::int64_t hits = sums[start + length] - sums[start];
            const ArcScore score = ScoreOfHits(hits, length, spins);
            if (best.score < score) best = {{start, length}, hits, score};
        }
    }
    return best;
}

// One fair wheel of `spins` spins, as its 36 counts: a multinomial drawn as a chain of
// binomials (each number takes its share of the spins the numbers before it left), so a
// draw costs the same at 200 spins as at a million. Boost's distributions give the same
// stream with every standard library, so the p-value does not depend on the build.
void DrawFairRing(int spins, boost::random::mt19937_64& engine, RingCounts& ring) {
    int left = spins;
    for (int i = 0; i < kNumbers - 1; ++i) {
        if (left == 0) {
            ring[i] = 0;
            continue;
        }
        boost::random::binomial_distribution<int, double> share(left, 1.0 / (kNumbers - i));
        ring[i] = share(engine);
        left -= ring[i];
    }
    ring[kNumbers - 1] = left;
}

bool IsArc(const Arc& arc) {
    return arc.length >= kShortestArc && arc.length <= kLongestArc && arc.start >= 0 &&
           arc.start < kNumbers;
}

}  // namespace

bool operator<(const ArcScore& a, const ArcScore& b) {
    // z = excess / sqrt(n * d) with d = length * (36 - length); n is common, so compare
    // a.excess * sqrt(b.d) with b.excess * sqrt(a.d): by sign first, then by squares, in
    // 128 bits (an excess of a list of 2^31 spins squared and multiplied by 324 needs 82).
    if ((a.excess < 0) != (b.excess < 0)) return a.excess < 0;
    __extension__ using Wide = unsigned __int128;
    const auto square = [](std::int64_t e) {
        const Wide m = static_cast<Wide>(e < 0 ? -e : e);
        return m * m;
    };
    const Wide da = static_cast<Wide>(a.length * (kNumbers - a.length));
    const Wide db = static_cast<Wide>(b.length * (kNumbers - b.length));
    const Wide left = square(a.excess) * db;
    const Wide right = square(b.excess) * da;
    return a.excess < 0 ? left > right : left < right;
}

ArcScore ScoreOf(const SectorScan& scan) {
    return ScoreOfHits(scan.hits, scan.hottest.length, scan.spins);
}

std::vector<int> ArcNumbers(Arc arc) {
    std::vector<int> numbers;
    if (arc.length <= 0) return numbers;
    const int length = std::min(arc.length, kNumbers);
    const int start = ((arc.start % kNumbers) + kNumbers) % kNumbers;
    numbers.reserve(length);
    for (int i = 0; i < length; ++i)
        numbers.push_back(kWheelRing[(start + i) % kNumbers]);
    return numbers;
}

NumberCounts CountsOf(const Statistics& s) {
    NumberCounts counts{};
    for (int n = kLowest; n <= kHighest; ++n)
        counts[n] = s.numbers[n].count;
    return counts;
}

SectorScan ScanSectors(const NumberCounts& counts) {
    RingCounts ring{};
    std::int64_t spins = 0;
    for (int i = 0; i < kNumbers; ++i) {
        ring[i] = std::max(0, counts[kWheelRing[i]]);  // a negative count is no spin
        spins += ring[i];
    }
    const Best best = BestArc(SumsOf(ring), spins);
    SectorScan scan;
    scan.spins = static_cast<int>(spins);
    scan.hottest = best.arc;
    scan.hits = static_cast<int>(best.hits);
    const double share = static_cast<double>(best.arc.length) / kNumbers;
    scan.expected = static_cast<double>(spins) * share;
    if (spins > 0)
        scan.z = (static_cast<double>(best.hits) - scan.expected) /
                 std::sqrt(static_cast<double>(spins) * share * (1 - share));
    return scan;
}

std::uint64_t SectorSeed(const NumberCounts& counts) {
    // FNV-1a over the 36 counts, each as eight bytes from the lowest, then splitmix64's
    // finaliser to spread the bits: the same on every machine and every build.
    std::uint64_t h = 14695981039346656037ull;
    for (int n = kLowest; n <= kHighest; ++n) {
        const auto value = static_cast<std::uint64_t>(static_cast<std::int64_t>(counts[n]));
        for (int byte = 0; byte < 8; ++byte) {
            h ^= (value >> (8 * byte)) & 0xffu;
            h *= 1099511628211ull;
        }
    }
    h += 0x9e3779b97f4a7c15ull;
    h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
    h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
    return h ^ (h >> 31);
}

std::optional<double> SectorPValue(const SectorScan& scan, std::uint64_t seed, int draws) {
    if (scan.spins < kMinSpinsForTest || draws < 1 || !IsArc(scan.hottest)) return std::nullopt;
    const ArcScore observed = ScoreOf(scan);
    const std::int64_t spins = scan.spins;

    // For each length the fewest hits whose score reaches the observed one (spins + 1 when
    // none does): a fair wheel is a hit as soon as one arc has that many, so no z is
    // computed in the loop and most wheels that are hits stop early.
    std::array<std::int64_t, kLongestArc + 1> needed{};
    for (int length = kShortestArc; length <= kLongestArc; ++length) {
        std::int64_t low = 0, high = spins + 1;  // the answer lies in [low, high]
        while (low < high) {
            const std::int64_t mid = low + (high - low) / 2;
            if (ScoreOfHits(mid, length, spins) < observed)
                low = mid + 1;
            else
                high = mid;
        }
        needed[length] = low;
    }

    boost::random::mt19937_64 engine(seed);
    RingCounts ring{};
    int hits = 0;
    for (int d = 0; d < draws; ++d) {
        DrawFairRing(scan.spins, engine, ring);
        const RingSums sums = SumsOf(ring);
        bool hit = false;
        for (int length = kShortestArc; length <= kLongestArc && !hit; ++length)
            for (int start = 0; start < kNumbers && !hit; ++start)
                hit = sums[start + length] - sums[start] >= needed[length];
        hits += hit ? 1 : 0;
    }
    return (1.0 + hits) / (draws + 1.0);
}

std::vector<ArcScore> FairLargestScores(int spins, std::uint64_t seed, int draws) {
    std::vector<ArcScore> scores;
    if (draws < 1 || spins < 0) return scores;
    scores.reserve(static_cast<std::size_t>(draws));
    boost::random::mt19937_64 engine(seed);
    RingCounts ring{};
    for (int d = 0; d < draws; ++d) {
        DrawFairRing(spins, engine, ring);
        scores.push_back(BestArc(SumsOf(ring), spins).score);
    }
    return scores;
}

}  // namespace roulette
