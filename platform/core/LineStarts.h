// A sorted list of positions where lines start (the first always 0) that follows edits of
// the text cheaply: the shift an insertion or removal gives every later start is kept as a
// pending step and applied only as far as later edits or reads need it, so typing at one
// place is not a pass over all the lines after it.
#pragma once

#include <QtGlobal>
#include <vector>

namespace platform {

class LineStarts {
public:
    LineStarts() : starts_{0} {}

    qsizetype count() const { return static_cast<qsizetype>(starts_.size()); }
    qsizetype start(qsizetype line) const {
        const qsizetype s = starts_[static_cast<size_t>(line)];
        return line > stepLine_ ? s + step_ : s;
    }
    // The line that holds `position`: the last line starting at or before it.
    qsizetype lineOf(qsizetype position) const;

    // Every start after `line` moves by `delta` (an edit inside that line).
    void shiftAfter(qsizetype line, qsizetype delta);
    // New starts, in order, after `line`; they must lie between its start and the next one.
    void insertAfter(qsizetype line, const std::vector<qsizetype>& positions);
    void insertAfter(qsizetype line, qsizetype position) {
        insertAfter(line, std::vector<qsizetype>{position});
    }
    // Removes lines first..last-1 (never line 0): their starts cease to be starts.
    void remove(qsizetype first, qsizetype last);
    // Back to one line starting at 0, or to the given starts (sorted, the first 0).
    void reset(std::vector<qsizetype> starts = {0});

    std::vector<qsizetype> all() const;

private:
    // Applies the pending step to the starts up to and including `line`.
    void applyStepThrough(qsizetype line);
    // Moves the pending step's boundary to `line`, undoing or applying it in between.
    void moveStepTo(qsizetype line);

    std::vector<qsizetype> starts_;
    // starts_[i] for i > stepLine_ still lacks step_.
    qsizetype stepLine_ = 0;
    qsizetype step_ = 0;
};

}  // namespace platform
