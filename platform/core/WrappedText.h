// The text of a multi-line box as a model without widgets: the characters (a gap buffer of
// UTF-16), the paragraphs ("\n" ends one) and the rows that wrapping at a width makes of
// them. Rows break after a run of spaces, a word wider than a row breaks anywhere, spaces at
// a row's end take no room, and a line separator U+2028 ends a row. An edit re-wraps from
// the row before it only until the rows meet the old ones again, so its cost does not grow
// with the text; widths come from a function of a code point, cached for the BMP.
#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

#include "platform/core/GapBuffer.h"
#include "platform/core/LineStarts.h"

namespace platform {

class WrappedText {
public:
    // The width of one code point, in the units of the wrap width.
    using Advance = std::function<int(char32_t)>;

    WrappedText();

    qsizetype size() const { return buffer_.size(); }
    char16_t at(qsizetype position) const { return buffer_.at(position); }
    QString text() const { return buffer_.toString(); }
    QString mid(qsizetype position, qsizetype length) const {
        return buffer_.mid(position, length);
    }
    const GapBuffer& buffer() const { return buffer_; }

    // Replaces `removed` characters at `position` by `text`; the paragraphs and the rows
    // follow, near the edit only.
    void replace(qsizetype position, qsizetype removed, QStringView text);
    void setText(QStringView text) { replace(0, size(), text); }

    // Paragraphs: the text between two "\n". The end is the position of the "\n" (or the
    // text's end) and excludes it.
    qsizetype paragraphCount() const { return paragraphs_.count(); }
    qsizetype paragraphStart(qsizetype paragraph) const { return paragraphs_.start(paragraph); }
    qsizetype paragraphEnd(qsizetype paragraph) const;
    qsizetype paragraphOf(qsizetype position) const { return paragraphs_.lineOf(position); }

    // Wrapping: a width of 0 or less wraps at paragraph ends and line separators only.
    // Setting a new width or advance wraps the whole text again.
    void setWrap(int width, Advance advance);
    int wrapWidth() const { return width_; }

    // Rows: what one line of the box shows. A row's end excludes the "\n" that ends its
    // paragraph; a position where a row breaks belongs to the next row.
    qsizetype rowCount() const { return rows_.count(); }
    qsizetype rowStart(qsizetype row) const { return rows_.start(row); }
    qsizetype rowEnd(qsizetype row) const;
    qsizetype rowOf(qsizetype position) const { return rows_.lineOf(position); }
    std::vector<qsizetype> rowStarts() const { return rows_.all(); }
    std::vector<qsizetype> paragraphStarts() const { return paragraphs_.all(); }

    // The rows a plain greedy wrap gives the whole text (for checks against the cached ones).
    std::vector<qsizetype> wrapAll() const;

private:
    static constexpr qsizetype kNoRow = -1;
    // Where the row that starts at `start` ends and the next begins, or kNoRow when the row
    // reaches the end of the text.
    qsizetype nextRow(qsizetype start) const;
    int advance(char32_t c) const;
    // True when a row starting at `position` would cut a word (a long word broken anywhere).
    bool IsInsideWord(qsizetype position) const;

    GapBuffer buffer_;
    LineStarts paragraphs_;
    LineStarts rows_;
    int width_ = 0;
    Advance advanceOf_;
    mutable std::vector<int> bmpAdvance_;  // -1: not measured yet
};

}  // namespace platform
