// A text of UTF-16 code units in one array with a movable gap: an edit moves the gap to its
// place and fills or widens it, so typing at one place copies nothing but the characters
// typed, whatever the text's length.
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace platform {

class GapBuffer {
public:
    qsizetype size() const { return static_cast<qsizetype>(data_.size()) - gapLength(); }
    bool empty() const { return size() == 0; }

    char16_t at(qsizetype position) const {
        return position < gapStart_ ? data_[position] : data_[position + gapLength()];
    }

    // The characters from `position`, `length` of them (clipped to the text).
    QString mid(qsizetype position, qsizetype length) const;
    QString toString() const { return mid(0, size()); }
    // Copies the range into `out` (resized), for readers that reuse one buffer.
    void copyTo(qsizetype position, qsizetype length, std::u16string& out) const;
    // Copies the range (clipped to the text) to `out`, which has room for it; returns how
    // many code units were copied.
    qsizetype copyTo(qsizetype position, qsizetype length, char16_t* out) const;

    // Replaces `removed` characters at `position` by `text`.
    void replace(qsizetype position, qsizetype removed, QStringView text);
    void insert(qsizetype position, QStringView text) { replace(position, 0, text); }
    void erase(qsizetype position, qsizetype removed) { replace(position, removed, {}); }

    // How many code units the array holds, gap included: the buffer's memory.
    qsizetype capacity() const { return static_cast<qsizetype>(data_.size()); }

private:
    qsizetype gapLength() const { return gapEnd_ - gapStart_; }
    void moveGap(qsizetype position);
    void growGap(qsizetype needed);

    std::vector<char16_t> data_;
    qsizetype gapStart_ = 0;
    qsizetype gapEnd_ = 0;
};

}  // namespace platform
