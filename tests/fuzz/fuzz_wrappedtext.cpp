// Fuzz target: the number box's text model (gap buffer, paragraph starts, rows wrapped at a
// width) under a sequence of edits read from the input, against a plain string. Properties
// after every edit:
// - the text is the plain string with the same edits;
// - the paragraph starts are the positions after each "\n" of the plain string;
// - the rows kept up to date near each edit are the rows a plain greedy wrap of the whole
//   plain string gives (written here on its own: after a run of spaces, a word wider than
//   the row broken anywhere, U+2028 ending a row);
// - every row lies inside the text and they are in order.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/WrappedText.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

int Width(char32_t c) {
    if (c == u' ' || c == u'\t') return 1;
    if (c >= u'0' && c <= u'9') return 2;
    return c >= 0x10000 ? 4 : 3;
}

// The alphabet edits draw from: digits, the characters that break rows or paragraphs, one
// that does not (no-break space), and both halves of a surrogate pair, so that pairs form
// and break apart.
const char16_t kAlphabet[] = {u'1',  u'7',   u' ',   u' ', u'\n', 0x2028, 0x00A0,
                              u'\t', 0xD83D, 0xDE00, u'3', u'5',  u'8',   u' '};

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t';
}

// A plain greedy wrap of the whole string.
std::vector<qsizetype> PlainRows(const std::u16string& s, int width) {
    std::vector<qsizetype> rows{0};
    const qsizetype n = static_cast<qsizetype>(s.size());
    qsizetype start = 0;
    while (true) {
        // The paragraph around `start`.
        qsizetype end = start;
        while (end < n && s[static_cast<size_t>(end)] != u'\n')
            ++end;
        qsizetype next = -1;
        bool reachesEnd = true;
        long long used = 0, pendingSpaces = 0;
        qsizetype lastWord = -1;
        for (qsizetype i = start; i < end; ++i) {
            const char16_t c = s[static_cast<size_t>(i)];
            if (c == 0x2028) {
                next = i + 1;
                reachesEnd = false;
                break;
            }
            if (IsSpace(c)) {
                pendingSpaces += Width(c);
                if (i + 1 < end && !IsSpace(s[static_cast<size_t>(i + 1)])) lastWord = i + 1;
                continue;
            }
            const char16_t after = i + 1 < end ? s[static_cast<size_t>(i + 1)] : 0;
            const bool pair = c >= 0xD800 && c <= 0xDBFF && after >= 0xDC00 && after <= 0xDFFF;
            const int w = Width(pair ? 0x10000 : c);
            if (width > 0 && used + pendingSpaces + w > width) {
                const qsizetype cut = lastWord > start ? lastWord : i == start ? i + 1 + pair : i;
                if (cut < end) {
                    next = cut;
                    reachesEnd = false;
                }
                break;
            }
            used += pendingSpaces + w;
            pendingSpaces = 0;
            i += pair;
        }
        if (reachesEnd) next = end < n ? end + 1 : -1;
        if (next < 0) break;
        rows.push_back(next);
        start = next;
    }
    return rows;
}

std::vector<qsizetype> PlainParagraphs(const std::u16string& s) {
    std::vector<qsizetype> out{0};
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == u'\n') out.push_back(static_cast<qsizetype>(i + 1));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int width = data[0] % 16;
    platform::WrappedText text;
    text.setWrap(width, Width);
    std::u16string plain;
    size_t i = 1;
    while (i + 3 <= size && i < 4000) {
        const uint8_t kind = data[i], where = data[i + 1], amount = data[i + 2];
        i += 3;
        const qsizetype n = static_cast<qsizetype>(plain.size());
        const qsizetype position = n == 0 ? 0 : where % (n + 1);
        const qsizetype removed = (kind & 0x80)   ? std::min<qsizetype>(amount, n - position)
                                  : (kind & 0x40) ? std::min<qsizetype>(1, n - position)
                                                  : 0;
        std::u16string inserted;
        const size_t length = kind & 0x3F;
        for (size_t k = 0; k < length && i < size; ++k, ++i)
            inserted += kAlphabet[data[i] % (sizeof kAlphabet / sizeof kAlphabet[0])];
        text.replace(position, removed,
                     QStringView(inserted.data(), static_cast<qsizetype>(inserted.size())));
        plain.replace(static_cast<size_t>(position), static_cast<size_t>(removed), inserted);

        const QString got = text.text();
        FUZZ_CHECK(got.size() == static_cast<qsizetype>(plain.size()) &&
                       std::equal(plain.begin(), plain.end(),
                                  reinterpret_cast<const char16_t*>(got.utf16())),
                   "the text is the plain string");
        FUZZ_CHECK(text.paragraphStarts() == PlainParagraphs(plain),
                   "paragraph starts follow every line break");
        const std::vector<qsizetype> rows = text.rowStarts();
        FUZZ_CHECK(std::is_sorted(rows.begin(), rows.end()) && rows.back() <= text.size(),
                   "rows lie in the text, in order");
        FUZZ_CHECK(rows == PlainRows(plain, width), "rows are the plain wrap's");
    }
    return 0;
}
