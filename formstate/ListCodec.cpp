#include "formstate/ListCodec.h"

namespace formstate {

namespace {

const QString kOpen = QStringLiteral("<*");
const QString kClose = QStringLiteral("*>");
const QString kEnd = QStringLiteral("]]]");

// Takes the frames of the list apart in order and hands each item's text to `onItem`.
//
// The text found after the key starts with its "=". A list is only taken apart when that
// text is longer than "=<*"; it then always yields at least one pass. Each pass takes the
// text between the first "<*" and the next "*>" as the item and removes the first frame
// "<*" + item + "*>" (compared without regard to case). When an item held "*>", the text
// left over can have its "*>" only before its first "<*": the pass then finds an empty item
// whose frame is nowhere, removes nothing and would repeat forever. Decoding stops there:
// the items taken so far stay, the rest of the text is dropped.
bool DecodeFrames(QStringView settingsText, const QString& name,
                  const std::function<void(const QString& item)>& onItem) {
    QString found = TextBetween(settingsText, QString(name + QStringLiteral(".Items")), kEnd);
    if (found.size() <= 3) return false;
    do {
        const QString item = TextBetween(found, kOpen, kClose);
        const qsizetype at = found.indexOf(kOpen + item + kClose, 0, Qt::CaseInsensitive);
        if (at < 0) break;  // nothing to remove: stop rather than loop forever
        found.remove(at, kOpen.size() + item.size() + kClose.size());
        onItem(item);
    } while (found.contains(kOpen) && found.contains(kClose));
    return true;
}

}  // namespace

QString TextBetween(QStringView text, QStringView start, QStringView end) {
    const qsizetype s = text.indexOf(start);
    if (s < 0 || !text.contains(end)) return QString();
    const QStringView rest = text.mid(s + start.size());
    const qsizetype e = rest.indexOf(end);
    if (e < 0) return QString();
    return rest.left(e).toString();
}

QString EncodeList(const QStringList& items) {
    QString out = kOpen;
    for (const QString& item : items)
        out += item + kClose + kOpen;
    return out + kEnd;
}

QString EncodeCheckList(const std::vector<CheckedItem>& items) {
    QString out = kOpen;
    for (const CheckedItem& item : items) {
        out += item.text;
        out += item.checked ? QStringView(kCheckedMarker) : QStringView(kUncheckedMarker);
        out += kClose + kOpen;
    }
    return out + kEnd;
}

DecodedList DecodeList(QStringView settingsText, const QString& name) {
    DecodedList list;
    list.found = DecodeFrames(settingsText, name, [&](const QString& item) {
        if (!item.isEmpty()) list.items << item;
    });
    return list;
}

DecodedCheckList DecodeCheckList(QStringView settingsText, const QString& name) {
    DecodedCheckList list;
    list.found = DecodeFrames(settingsText, name, [&](const QString& item) {
        const bool checked = item.contains(QStringView(kCheckedMarker));
        const QString itemName = TextBetween(QStringLiteral("!!!") + item, u"!!!", u"--->[");
        if (!itemName.isEmpty()) list.items.push_back({itemName, checked});
    });
    return list;
}

}  // namespace formstate
