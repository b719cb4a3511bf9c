#include "platform/core/GapBuffer.h"

#include <algorithm>
#include <cstring>

namespace platform {

QString GapBuffer::mid(qsizetype position, qsizetype length) const {
    position = std::clamp<qsizetype>(position, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - position);
    QString out(length, Qt::Uninitialized);
    copyTo(position, length, reinterpret_cast<char16_t*>(out.data()));
    return out;
}

qsizetype GapBuffer::copyTo(qsizetype position, qsizetype length, char16_t* dst) const {
    position = std::clamp<qsizetype>(position, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - position);
    const qsizetype before = std::clamp<qsizetype>(gapStart_ - position, 0, length);
    if (before > 0) std::memcpy(dst, data_.data() + position, before * sizeof(char16_t));
    if (length > before) {
        const qsizetype from = std::max(position, gapStart_) + gapLength();
        std::memcpy(dst + before, data_.data() + from, (length - before) * sizeof(char16_t));
    }
    return length;
}

void GapBuffer::copyTo(qsizetype position, qsizetype length, std::u16string& out) const {
    position = std::clamp<qsizetype>(position, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - position);
    out.resize(static_cast<size_t>(length));
    for (qsizetype i = 0; i < length; ++i)
        out[static_cast<size_t>(i)] = at(position + i);
}

void GapBuffer::moveGap(qsizetype position) {
    if (position == gapStart_) return;
    char16_t* d = data_.data();
    if (position < gapStart_) {
        // The characters between the new place and the gap move behind it.
        const qsizetype n = gapStart_ - position;
        std::memmove(d + gapEnd_ - n, d + position, n * sizeof(char16_t));
        gapStart_ -= n;
        gapEnd_ -= n;
    } else {
        const qsizetype n = position - gapStart_;
        std::memmove(d + gapStart_, d + gapEnd_, n * sizeof(char16_t));
        gapStart_ += n;
        gapEnd_ += n;
    }
}

void GapBuffer::growGap(qsizetype needed) {
    if (gapLength() >= needed) return;
    // Grow by half the text it is about to hold at least, so that a long run of typing
    // reallocates rarely, and the first key after a whole text was set does not copy it.
    const qsizetype extra = std::max<qsizetype>({needed - gapLength(), (size() + needed) / 2, 64});
    const qsizetype tail = static_cast<qsizetype>(data_.size()) - gapEnd_;
    data_.resize(data_.size() + static_cast<size_t>(extra));
    char16_t* d = data_.data();
    std::memmove(d + gapEnd_ + extra, d + gapEnd_, tail * sizeof(char16_t));
    gapEnd_ += extra;
}

void GapBuffer::replace(qsizetype position, qsizetype removed, QStringView text) {
    position = std::clamp<qsizetype>(position, 0, size());
    removed = std::clamp<qsizetype>(removed, 0, size() - position);
    moveGap(position);
    gapEnd_ += removed;  // the removed characters join the gap
    growGap(text.size());
    if (!text.isEmpty())
        std::memcpy(data_.data() + gapStart_, text.utf16(), text.size() * sizeof(char16_t));
    gapStart_ += text.size();
}

}  // namespace platform
