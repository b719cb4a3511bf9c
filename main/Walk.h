// The number list and the even/odd walk as plain text processing, free of widgets: the
// spacing normalisation, the split into entries, the walk over them with its stop reasons,
// and the deletion of a rejected entry. The main window's DrawDiagram drives these.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace walk {

constexpr uint32_t kEvenColor = 0x008000;  // green
constexpr uint32_t kOddColor = 0xFF0000;   // blue
// More empty entries in a row than this stop the walk.
constexpr int kMaxEmptyRun = 100;

// Replaces each pair of adjacent spaces by one space, in one pass from left to right
// without overlap: two spaces become one, three two, four two, five three.
QString MergeSpacePairs(const QString& text);

// `s` without its last character when that character is `c`.
QString StripTrailingChar(const QString& s, QChar c);

// The entry without leading and trailing characters of code 32 or below.
QStringView TrimEntry(QStringView entry);

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

std::optional<int32_t> ReadNumber(QStringView trimmed);

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
        const std::optional<int32_t> n = ReadNumber(trimmed);
        if (!n) {
            outcome.stop = Stop::NotANumber;
            outcome.rejected = trimmed.toString();
            return false;
        }
        if (*n > 36 || *n < 1) {
            outcome.stop = Stop::OutOfRange;
            outcome.rejected = trimmed.toString();
            return false;
        }
        uint32_t color;
        if (*n % 2 == 0) {
            ++balance;
            color = kEvenColor;
        } else {
            --balance;
            color = kOddColor;
        }
        addPoint(Point{position, balance, color});
        ++position;
        return true;
    });
    return outcome;
}

}  // namespace walk
