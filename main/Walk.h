// The number list and the even/odd walk as plain text processing, free of widgets: the
// spacing normalisation, the split into entries, the walk over them with its stop reasons,
// and the deletion of a rejected entry. The main window's DrawDiagram drives these.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/IntConvert.h"

namespace walk {

constexpr uint32_t kEvenColor = 0x008000;  // green
constexpr uint32_t kOddColor = 0xFF0000;   // blue
// More empty entries in a row than this stop the walk.
constexpr int kMaxEmptyRun = 100;

// Replaces each pair of adjacent spaces by one space, in one pass from left to right
// without overlap: two spaces become one, three two, four two, five three. `merged`, when
// given, tells whether the text held any pair at all.
QString MergeSpacePairs(const QString& text, bool* merged = nullptr);

// `s` without its last character when that character is `c`.
QString StripTrailingChar(const QString& s, QChar c);

// The entry without leading and trailing characters of code 32 or below.
inline QStringView TrimEntry(QStringView entry) {
    qsizetype b = 0;
    qsizetype e = entry.size();
    while (b < e && entry[b].unicode() <= 32)
        ++b;
    while (e > b && entry[e - 1].unicode() <= 32)
        --e;
    return entry.mid(b, e - b);
}

// Calls `visit(entry)` for every entry of `text` split at spaces, empty entries included;
// an empty text has no entries. Stops early when `visit` returns false.
template <typename Visit>
void ForEachEntry(QStringView text, Visit&& visit) {
    if (text.isEmpty()) return;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i == n || text[i] == u' ') {
            if (!visit(text.mid(start, i - start))) return;
            start = i + 1;
        }
    }
}

struct Point {
    int x;
    int y;
    uint32_t color;
};

enum class Stop {
    None,        // every entry was walked
    EmptyRun,    // more than kMaxEmptyRun empty entries in a row
    NotANumber,  // an entry that is not an integer
    OutOfRange,  // an integer outside 1 .. 36
};

struct Outcome {
    Stop stop = Stop::None;
    QString rejected;  // the trimmed entry that stopped the walk
    bool hadEntries = false;
};

// Walks the entries of `text` (already normalised), calling `addPoint(point)` for each valid
// number in order.
template <typename AddPoint>
Outcome Walk(QStringView text, AddPoint&& addPoint);

// Deletes every occurrence of `entry` in `text` that stands as a whole entry: preceded by the
// start or a character of code 32 or below, followed by the end or such a character. The
// spaces around it stay. Longer entries that contain it are not touched.
QString DeleteWholeEntry(const QString& text, QStringView entry);

// ---- implementation of the template ----

// Reads the trimmed entry as an integer into `value`; false when it is not one. One or two
// plain digits, by far the most common entry, are read right here. (A plain bool and an out
// parameter: an optional returned through memory stalls this loop.)
inline bool ReadNumber(QStringView trimmed, int32_t& value) {
    const qsizetype n = trimmed.size();
    if (n == 1 || n == 2) {
        const uint32_t a = static_cast<uint32_t>(trimmed[0].unicode()) - u'0';
        if (a <= 9) {
            if (n == 1) {
                value = static_cast<int32_t>(a);
                return true;
            }
            const uint32_t b = static_cast<uint32_t>(trimmed[1].unicode()) - u'0';
            if (b <= 9) {
                value = static_cast<int32_t>(a * 10 + b);
                return true;
            }
        }
    }
    const std::optional<int32_t> read = platform::TryStrToInt(trimmed);
    if (read) value = *read;
    return read.has_value();
}

template <typename AddPoint>
Outcome Walk(QStringView text, AddPoint&& addPoint) {
    Outcome outcome;
    int position = 0;
    int balance = 0;
    int emptyRun = 0;
    ForEachEntry(text, [&](QStringView entry) {
        outcome.hadEntries = true;
        const QStringView trimmed = TrimEntry(entry);
        if (trimmed.isEmpty()) {
            ++emptyRun;
            ++position;
            if (emptyRun > kMaxEmptyRun) {
                outcome.stop = Stop::EmptyRun;
                return false;
            }
            return true;
        }
        emptyRun = 0;
        int32_t n = 0;
        if (!ReadNumber(trimmed, n)) {
            outcome.stop = Stop::NotANumber;
            outcome.rejected = trimmed.toString();
            return false;
        }
        if (n > 36 || n < 1) {
            outcome.stop = Stop::OutOfRange;
            outcome.rejected = trimmed.toString();
            return false;
        }
        // Even: one step up, green; odd: one step down, blue. Written without a branch,
        // since the parity of roulette numbers is as unpredictable as the wheel.
        const bool even = n % 2 == 0;
        balance += even ? 1 : -1;
        const uint32_t color = even ? kEvenColor : kOddColor;
        addPoint(Point{position, balance, color});
        ++position;
        return true;
    });
    return outcome;
}

}  // namespace walk
