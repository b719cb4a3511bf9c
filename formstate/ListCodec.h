// The list encoding of ".Items" values: every item framed by "<*" and "*>", the frames
// abutting, and "<*" + "]]]" at the end; check lists append a check marker to each item.
// Lists are read back from the raw settings text, not by key lookup.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

namespace formstate {

// Check markers of check-list items.
inline constexpr char16_t kCheckedMarker[] = u"--->[check+check]";
inline constexpr char16_t kUncheckedMarker[] = u"--->[check-check]";

// The text between the first `start` in `text` and the first `end` after it; empty when
// either mark is missing from the text or no `end` follows the first `start`. Exact,
// case-sensitive comparisons.
QString TextBetween(QStringView text, QStringView start, QStringView end);

// "<*" + item + "*>" for each item, then "<*]]]".
QString EncodeList(const QStringList& items);

struct CheckedItem {
    QString text;
    bool checked = false;
};
// As EncodeList, each item followed by its check marker.
QString EncodeCheckList(const std::vector<CheckedItem>& items);

// The items of a list whose key is `name` + ".Items", taken from the whole settings text.
struct DecodedList {
    // False when the list is empty or missing: the control keeps its items.
    bool found = false;
    // The item texts in order; empty items are dropped.
    QStringList items;
};
DecodedList DecodeList(QStringView settingsText, const QString& name);

// As DecodeList, for check lists: each item's name is its text before the first "--->["
// (items without one, or with an empty name, are dropped), and it is checked when its text
// holds "--->[check+check]" anywhere.
struct DecodedCheckList {
    bool found = false;
    std::vector<CheckedItem> items;
};
DecodedCheckList DecodeCheckList(QStringView settingsText, const QString& name);

}  // namespace formstate
