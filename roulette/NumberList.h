// The number list as text: the spacing normalisation, the split into entries, the trimming
// and reading of one entry, and the deletion of a rejected entry. The walk (Walk.h) is the
// one reader of a list; everything else reads the record it leaves.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

#include "platform/core/IntConvert.h"

namespace roulette {

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

// Reads the trimmed entry as an integer into `value`; false when it is not one. One or two
// plain digits, by far the most common entry, are read right here. (A plain bool and an out
// parameter: an optional returned through memory stalls the walk's loop.)
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

// Deletes every occurrence of `entry` in `text` that stands as a whole entry: preceded by the
// start or a character of code 32 or below, followed by the end or such a character. The
// spaces around it stay. Longer entries that contain it are not touched.
QString DeleteWholeEntry(const QString& text, QStringView entry);

}  // namespace roulette
