#include "roulette/NumberList.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace roulette {

namespace {

// Index of the first space that is followed by another space, or -1. Compares eight
// characters at a time where SSE2 is there (every x86-64 processor has it).
qsizetype FirstSpacePair(const char16_t* d, qsizetype n) {
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi16(u' ');
    for (; i + 8 <= n; i += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        // Two mask bits per character; a pair sets the bits of neighbouring characters.
        const unsigned mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, space)));
        const unsigned pairs = mask & (mask >> 2);
        if (pairs) return i + __builtin_ctz(pairs) / 2;
        if ((mask & 0x4000u) && i + 8 < n && d[i + 8] == u' ') return i + 7;
    }
#endif
    for (; i + 1 < n; ++i)
        if (d[i] == u' ' && d[i + 1] == u' ') return i;
    return -1;
}

}  // namespace

QString MergeSpacePairs(const QString& text, bool* merged) {
    const qsizetype n = text.size();
    const char16_t* d = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype first = FirstSpacePair(d, n);
    if (merged) *merged = first >= 0;
    // Most lists hold no double space at all: hand the text back without copying.
    if (first < 0) return text;
    QString out(n, Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    std::memcpy(o, d, sizeof(char16_t) * static_cast<size_t>(first));
    qsizetype w = first;
    for (qsizetype i = first; i < n; ++i) {
        o[w++] = d[i];
        if (d[i] == u' ' && i + 1 < n && d[i + 1] == u' ') ++i;
    }
    out.truncate(w);
    return out;
}

QString StripTrailingChar(const QString& s, QChar c) {
    if (!s.isEmpty() && s.back() == c) return s.left(s.size() - 1);
    return s;
}

QString DeleteWholeEntry(const QString& text, QStringView entry) {
    if (entry.isEmpty()) return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    const qsizetype m = entry.size();
    qsizetype copied = 0;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = QStringView(text).indexOf(entry, from);
        if (at < 0) break;
        const bool startOk = at == 0 || text[at - 1].unicode() <= 32;
        const bool endOk = at + m == n || text[at + m].unicode() <= 32;
        if (startOk && endOk) {
            out.append(QStringView(text).mid(copied, at - copied));
            copied = at + m;
            from = at + m;
        } else {
            from = at + 1;
        }
    }
    if (copied == 0) return text;
    out.append(QStringView(text).mid(copied));
    return out;
}

}  // namespace roulette
