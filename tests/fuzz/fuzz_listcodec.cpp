// Fuzz target: TextBetween and the list encoding of ".Items" values. Properties:
// - TextBetween agrees with a plain reference on any text and marks;
// - decoding an arbitrary settings text ends, and yields only non-empty items, at most one
//   per "*>" in the text; a check list's names hold no "--->[";
// - the decoded list of an encoded list equals it when no item is empty and none holds "*>"
//   or "]]]", whatever else stands in the file before and after the key; the same for check
//   lists whose item names also hold no "--->[".
#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "formstate/ListCodec.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

QString Text(FuzzedDataProvider& in, size_t maxBytes) {
    const std::string bytes = in.ConsumeRandomLengthString(maxBytes);
    return fuzz::TextFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Text made mostly of the codec's own marks, so that frames, ends and markers collide.
QString MarkText(FuzzedDataProvider& in, size_t maxPieces) {
    static const char* const kPieces[] = {
        "<*",    "*>",           "]]]",          "]", "<", "*",       ">",    "a", "B",
        "--->[", "check+check]", "check-check]", "=", " ", "L.Items", "\r\n", "x"};
    QString out;
    const size_t n = in.ConsumeIntegralInRange<size_t>(0, maxPieces);
    for (size_t i = 0; i < n && in.remaining_bytes() > 0; ++i)
        out += QLatin1String(kPieces[in.ConsumeIntegralInRange<size_t>(0, 16)]);
    return out;
}

QString ReferenceTextBetween(const QString& text, const QString& start, const QString& end) {
    const std::u16string t(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
    const std::u16string s(reinterpret_cast<const char16_t*>(start.utf16()), start.size());
    const std::u16string e(reinterpret_cast<const char16_t*>(end.utf16()), end.size());
    const size_t at = t.find(s);
    if (at == std::u16string::npos || t.find(e) == std::u16string::npos) return QString();
    const size_t from = at + s.size();
    const size_t to = t.find(e, from);
    if (to == std::u16string::npos) return QString();
    // Not QString::fromStdU16String: it would take a leading U+FEFF for a byte-order mark.
    return QString(reinterpret_cast<const QChar*>(t.data() + from),
                   static_cast<qsizetype>(to - from));
}

bool Encodable(const QString& item) {
    return !item.isEmpty() && !item.contains(QLatin1String("*>")) &&
           !item.contains(QLatin1String("]]]"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int mode = in.ConsumeIntegralInRange<int>(0, 3);

    if (mode == 0) {
        const QString start = in.ConsumeBool() ? MarkText(in, 2) : Text(in, 8);
        const QString end = in.ConsumeBool() ? MarkText(in, 2) : Text(in, 8);
        const QString text = in.ConsumeBool() ? MarkText(in, 40) : Text(in, 400);
        FUZZ_CHECK(
            formstate::TextBetween(text, start, end) == ReferenceTextBetween(text, start, end),
            "TextBetween disagrees with the reference");
        return 0;
    }

    if (mode == 1) {
        // Any settings text: decoding ends and yields sound items.
        const QString text = MarkText(in, 60) + Text(in, 200) + MarkText(in, 60);
        const qsizetype frames = text.count(QLatin1String("*>"));
        const formstate::DecodedList list = formstate::DecodeList(text, QStringLiteral("L"));
        FUZZ_CHECK(list.items.size() <= frames, "more items than frame ends");
        for (const QString& item : list.items)
            FUZZ_CHECK(!item.isEmpty(), "an empty item");
        const formstate::DecodedCheckList checks =
            formstate::DecodeCheckList(text, QStringLiteral("L"));
        for (const formstate::CheckedItem& item : checks.items)
            FUZZ_CHECK(!item.text.isEmpty() && !item.text.contains(QLatin1String("--->[")),
                       "a check-list name is empty or holds a marker");
        return 0;
    }

    // Round trips, with arbitrary text around the key that does not name the list itself.
    QString before = in.ConsumeBool() ? MarkText(in, 10) : Text(in, 60);
    QString after = in.ConsumeBool() ? MarkText(in, 10) : Text(in, 60);
    if (before.contains(QLatin1String("L.Items"))) before.clear();
    QStringList items;
    const int n = in.ConsumeIntegralInRange<int>(0, 12);
    for (int i = 0; i < n; ++i) {
        QString item = in.ConsumeBool() ? MarkText(in, 6) : Text(in, 20);
        if (Encodable(item)) items << item;
    }

    if (mode == 2) {
        const QString file = before + QStringLiteral("\r\nL.Items=") +
                             formstate::EncodeList(items) + QStringLiteral("\r\n") + after;
        const formstate::DecodedList list = formstate::DecodeList(file, QStringLiteral("L"));
        FUZZ_CHECK(list.found == !items.isEmpty(), "an empty list is not applied, others are");
        if (list.found) FUZZ_CHECK(list.items == items, "a list did not decode as encoded");
        return 0;
    }

    std::vector<formstate::CheckedItem> checks;
    for (const QString& item : items)
        if (!item.contains(QLatin1String("--->["))) checks.push_back({item, in.ConsumeBool()});
    const QString file = before + QStringLiteral("\r\nL.Items=") +
                         formstate::EncodeCheckList(checks) + QStringLiteral("\r\n") + after;
    const formstate::DecodedCheckList list = formstate::DecodeCheckList(file, QStringLiteral("L"));
    FUZZ_CHECK(list.found == !checks.empty(), "an empty check list is not applied, others are");
    FUZZ_CHECK(list.items.size() == checks.size(), "a check list lost or gained items");
    for (size_t i = 0; i < checks.size(); ++i)
        FUZZ_CHECK(
            list.items[i].text == checks[i].text && list.items[i].checked == checks[i].checked,
            "a check-list item did not decode as encoded");
    return 0;
}
