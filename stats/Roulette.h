// The roulette facts the statistics rest on: the red numbers, and for a number from 1 to 36
// its side of each even-money pair, its dozen and its column.
#pragma once

#include <cstdint>

namespace stats {

constexpr int kNumbers = 36;

// Red: 1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36; the rest black.
constexpr bool IsRed(int n) {
    switch (n) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 9:
        case 12:
        case 14:
        case 16:
        case 18:
        case 19:
        case 21:
        case 23:
        case 25:
        case 27:
        case 30:
        case 32:
        case 34:
        case 36:
            return true;
        default:
            return false;
    }
}
constexpr bool IsEven(int n) {
    return n % 2 == 0;
}
// 1 to 18.
constexpr bool IsLow(int n) {
    return n <= 18;
}
// 0 for 1-12, 1 for 13-24, 2 for 25-36.
constexpr int DozenOf(int n) {
    return (n - 1) / 12;
}
// 0 for 1, 4, ..., 34; 1 for 2, 5, ..., 35; 2 for 3, 6, ..., 36.
constexpr int ColumnOf(int n) {
    return (n - 1) % 3;
}

}  // namespace stats
