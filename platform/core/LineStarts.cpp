#include "platform/core/LineStarts.h"

#include <algorithm>

namespace platform {

qsizetype LineStarts::lineOf(qsizetype position) const {
    // Binary search over the starts as they really are (the step added past stepLine_).
    qsizetype lo = 0, hi = count() - 1;
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo + 1) / 2;
        if (start(mid) <= position)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

void LineStarts::moveStepTo(qsizetype line) {
    line = std::clamp<qsizetype>(line, 0, count() - 1);
    if (step_ == 0) {
        stepLine_ = line;
        return;
    }
    if (line > stepLine_) {
        for (qsizetype i = stepLine_ + 1; i <= line; ++i)
            starts_[static_cast<size_t>(i)] += step_;
    } else {
        for (qsizetype i = line + 1; i <= stepLine_; ++i)
            starts_[static_cast<size_t>(i)] -= step_;
    }
    stepLine_ = line;
}

void LineStarts::applyStepThrough(qsizetype line) {
    if (line > stepLine_) moveStepTo(line);
}

void LineStarts::shiftAfter(qsizetype line, qsizetype delta) {
    if (delta == 0) return;
    // The boundary goes to the edited line: the starts between the old and the new boundary
    // are touched, which for typing at one place is none.
    if (line >= count() - 1) {
        // No start after the last line: nothing moves, and the step has no one to carry.
        return;
    }
    moveStepTo(line);
    step_ += delta;
}

void LineStarts::insertAfter(qsizetype line, const std::vector<qsizetype>& positions) {
    if (positions.empty()) return;
    moveStepTo(line);
    // The new starts enter at line + 1 as real positions; the ones after them still lack the
    // step, so the boundary moves past the new ones.
    std::vector<qsizetype> stored(positions);
    starts_.insert(starts_.begin() + line + 1, stored.begin(), stored.end());
    const qsizetype added = static_cast<qsizetype>(positions.size());
    // starts_ in (line, line + added] are real; the step applies after line + added.
    stepLine_ = line + added;
    if (step_ == 0) stepLine_ = line + added;
}

void LineStarts::remove(qsizetype first, qsizetype last) {
    first = std::max<qsizetype>(first, 1);
    last = std::min(last, count());
    if (first >= last) return;
    moveStepTo(first - 1);
    starts_.erase(starts_.begin() + first, starts_.begin() + last);
    if (stepLine_ > count() - 1) stepLine_ = count() - 1;
}

void LineStarts::reset(std::vector<qsizetype> starts) {
    if (starts.empty() || starts.front() != 0) starts.insert(starts.begin(), 0);
    starts_ = std::move(starts);
    stepLine_ = 0;
    step_ = 0;
}

std::vector<qsizetype> LineStarts::all() const {
    std::vector<qsizetype> out(starts_.size());
    for (qsizetype i = 0; i < count(); ++i)
        out[static_cast<size_t>(i)] = start(i);
    return out;
}

}  // namespace platform
