// The facts of the wheel that everything else rests on, each written once: the numbers the
// list takes (1 to 36), and for each its parity, colour, half, dozen and column, with the
// Russian names of the sides of the three even-money pairs.
#pragma once

#include <QString>

namespace roulette {

// The numbers a list may hold: 1 to 36 (the zero is not typed).
constexpr int kLowest = 1;
constexpr int kHighest = 36;
constexpr int kNumbers = kHighest - kLowest + 1;

constexpr bool IsNumber(int n) {
    return n >= kLowest && n <= kHighest;
}

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

// The three even-money pairs. Side 0 is even, red or 1-18; side 1 odd, black or 19-36.
enum class Pair { EvenOdd = 0, RedBlack = 1, LowHigh = 2 };
constexpr int kPairs = 3;

// The side of `pair` that number `n` is on: 0 or 1.
constexpr int SideOf(Pair pair, int n) {
    switch (pair) {
        case Pair::EvenOdd:
            return IsEven(n) ? 0 : 1;
        case Pair::RedBlack:
            return IsRed(n) ? 0 : 1;
        case Pair::LowHigh:
            return IsLow(n) ? 0 : 1;
    }
    return 0;
}

// The side's name in lower case, as in running text: "чёт", "нечет", "красное", "чёрное",
// "1–18", "19–36".
QString SideName(Pair pair, int side);
// The same with its first letter in capitals, as a row heading: "Чёт", "Красное".
QString SideHeading(Pair pair, int side);

}  // namespace roulette
