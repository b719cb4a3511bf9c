#include "platform/core/WrappedText.h"

#include <QChar>
#include <algorithm>
#include <limits>

namespace platform {

namespace {

constexpr char16_t kLineSeparator = 0x2028;

bool IsBreakingSpace(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

WrappedText::WrappedText() = default;

bool WrappedText::IsInsideWord(qsizetype position) const {
    if (position <= 0 || position > size()) return false;
    const char16_t before = at(position - 1);
    return !IsBreakingSpace(before) && before != u'\n' && before != kLineSeparator;
}

qsizetype WrappedText::paragraphEnd(qsizetype paragraph) const {
    return paragraph + 1 < paragraphCount() ? paragraphStart(paragraph + 1) - 1 : size();
}

qsizetype WrappedText::rowEnd(qsizetype row) const {
    const qsizetype end = row + 1 < rowCount() ? rowStart(row + 1) : size();
    // A row that ends its paragraph stops before the "\n".
    if (end > rowStart(row) && end <= size() && row + 1 < rowCount() && at(end - 1) == u'\n')
        return end - 1;
    return end;
}

int WrappedText::advance(char32_t c) const {
    if (!advanceOf_) return 1;
    if (c < 0x10000) {
        int& cached = bmpAdvance_[c];
        if (cached < 0) cached = advanceOf_(c);
        return cached;
    }
    return advanceOf_(c);
}

void WrappedText::setWrap(int width, Advance advance) {
    width_ = width;
    advanceOf_ = std::move(advance);
    bmpAdvance_.assign(advanceOf_ ? 0x10000 : 0, -1);
    rows_.reset(wrapAll());
}

qsizetype WrappedText::nextRow(qsizetype start) const {
    const qsizetype paragraph = paragraphOf(start);
    const qsizetype end = paragraphEnd(paragraph);
    const bool last = paragraph + 1 == paragraphCount();
    const auto afterParagraph = [&] { return last ? kNoRow : end + 1; };
    const long long limit = width_ > 0 ? width_ : std::numeric_limits<long long>::max();

    long long used = 0;        // the width of the row's words and the spaces between them
    long long spaces = 0;      // spaces since the last word: they count once a word follows
    qsizetype wordStart = -1;  // where the last word after a run of spaces began
    qsizetype pos = start;
    while (pos < end) {
        const char16_t c = at(pos);
        if (c == kLineSeparator) return pos + 1;
        if (IsBreakingSpace(c)) {
            spaces += advance(c);
            ++pos;
            if (pos < end && !IsBreakingSpace(at(pos))) wordStart = pos;
            continue;
        }
        char32_t code = c;
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && pos + 1 < end && QChar::isLowSurrogate(at(pos + 1))) {
            code = QChar::surrogateToUcs4(c, at(pos + 1));
            units = 2;
        }
        const int a = advance(code);
        if (used + spaces + a > limit) {
            // The word goes to the next row whole, unless it began the row: then it breaks
            // here, after one character at least.
            if (wordStart > start) return wordStart;
            const qsizetype cut = pos == start ? pos + units : pos;
            return cut >= end ? afterParagraph() : cut;
        }
        used += spaces + a;
        spaces = 0;
        pos += units;
    }
    return afterParagraph();
}

std::vector<qsizetype> WrappedText::wrapAll() const {
    std::vector<qsizetype> starts{0};
    for (qsizetype next = nextRow(0); next != kNoRow; next = nextRow(next))
        starts.push_back(next);
    return starts;
}

void WrappedText::replace(qsizetype position, qsizetype removed, QStringView text) {
    position = std::clamp<qsizetype>(position, 0, size());
    removed = std::clamp<qsizetype>(removed, 0, size() - position);
    if (removed == 0 && text.isEmpty()) return;
    const qsizetype removedEnd = position + removed;
    const qsizetype delta = text.size() - removed;

    // Paragraphs: the starts inside the removed text go, the later ones shift, and every "\n"
    // of the new text starts one.
    const qsizetype paragraph = paragraphs_.lineOf(position);
    paragraphs_.remove(paragraph + 1, paragraphs_.lineOf(removedEnd) + 1);
    paragraphs_.shiftAfter(paragraph, delta);
    std::vector<qsizetype> added;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\n') added.push_back(position + i + 1);
    paragraphs_.insertAfter(paragraph, added);

    // Rows: the starts inside the removed text go, the later ones shift. For a removal
    // alone the start at its end goes too, or it would fall on the edit's place, where an
    // old start whose rows no longer hold may stand.
    const qsizetype row = rows_.lineOf(position);
    const qsizetype lastInside =
        removed == 0 ? row : rows_.lineOf(text.isEmpty() ? removedEnd : removedEnd - 1);
    rows_.remove(row + 1, lastInside + 1);
    rows_.shiftAfter(row, delta);

    buffer_.replace(position, removed, text);

    // Wrap again from the row before the one where the edited word begins (the row before
    // may now take that word, or lose its own last one), until a row starts where an old
    // one does past the new text: from there on the text and so its rows are the old ones.
    const qsizetype editEnd = position + text.size();
    qsizetype k = std::min(row, rows_.count() - 1);
    while (k > 0 && IsInsideWord(rows_.start(k)))
        --k;
    k = std::max<qsizetype>(k - 1, 0);
    qsizetype start = rows_.start(k);
    while (true) {
        const qsizetype next = nextRow(start);
        if (next == kNoRow) {
            rows_.remove(k + 1, rows_.count());
            break;
        }
        qsizetype j = k + 1;
        while (j < rows_.count() && rows_.start(j) < next)
            ++j;
        rows_.remove(k + 1, j);
        if (k + 1 < rows_.count() && rows_.start(k + 1) == next) {
            // A start past the new text (or at its end, which only an old start past the
            // removed text can be) begins the old rows.
            if (next > editEnd || (next == editEnd && !text.isEmpty())) break;
        } else {
            rows_.insertAfter(k, next);
        }
        ++k;
        start = next;
    }
}

}  // namespace platform
