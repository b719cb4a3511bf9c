// The number lists the benchmarks type, paste or restore: roulette numbers from a fixed
// seed, so every run and every benchmark sees the same list.
#pragma once

#include <QString>
#include <random>

namespace bench {

// `count` roulette numbers separated by single spaces.
inline QString NumberList(int count) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> number(1, 36);
    QString text;
    text.reserve(count * 3);
    for (int i = 0; i < count; ++i) {
        if (i) text += u' ';
        text += QString::number(number(rng));
    }
    return text;
}

}  // namespace bench
