// Fuzz target: the diagram routine's text work on an arbitrary number list, in the order the
// routine runs it: merge pairs of spaces, drop one trailing space, split at spaces, walk the
// entries, delete the rejected entry, merge pairs of spaces again. Properties:
// - the merge turns every run of r spaces into ceil(r / 2) and touches nothing else;
// - the split is lossless: the entries joined with spaces give the text back;
// - the walk draws exactly what a plain reference walk over the same entries draws, and
//   stops for the same reason at the same entry, and records the numbers of its points, in
//   order, whose statistics are those of a plain recount;
// - the deletion keeps every space (so every entry keeps its place), empties each entry that
//   was the rejected entry, never touches an entry that holds the rejected text only inside
//   a longer run of characters, and agrees with a plain per-entry reference;
// - when the rejected entry holds no character of code 32 or below (every real case), no
//   entry of the list written back is the rejected entry any more.
#include <QString>
#include <QStringList>
#include <vector>

#include "roulette/Statistics.h"
#include "roulette/Walk.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

bool IsBlank(QChar c) {
    return c.unicode() <= 32;
}

QString ReferenceMerge(const QString& text) {
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u' ') {
            out += text[i++];
            continue;
        }
        qsizetype run = 0;
        while (i < text.size() && text[i] == u' ')
            ++run, ++i;
        out += QString((run + 1) / 2, u' ');
    }
    return out;
}

QString ReferenceTrim(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

struct ReferenceWalk {
    std::vector<roulette::Point> points;
    roulette::Stop stop = roulette::Stop::None;
    QString rejected;
};

ReferenceWalk WalkByHand(const QString& text) {
    ReferenceWalk r;
    if (text.isEmpty()) return r;
    const QStringList entries = text.split(u' ', Qt::KeepEmptyParts);
    int balance = 0, emptyRun = 0;
    for (int position = 0; position < entries.size(); ++position) {
        const QString t = ReferenceTrim(entries[position]);
        if (t.isEmpty()) {
            if (++emptyRun > roulette::kMaxEmptyRun) {
                r.stop = roulette::Stop::EmptyRun;
                break;
            }
            continue;
        }
        emptyRun = 0;
        const std::optional<int32_t> n = fuzz::ReferenceStrToInt(t);
        if (!n || *n < 1 || *n > 36) {
            r.stop = n ? roulette::Stop::OutOfRange : roulette::Stop::NotANumber;
            r.rejected = t;
            break;
        }
        balance += (*n % 2 == 0) ? 1 : -1;
        r.points.push_back({position, balance, *n});
    }
    return r;
}

// Occurrences of `r` in the entry that stand whole (bounded by the entry's ends or by
// characters of code 32 or below), removed left to right without overlap.
QString ReferenceDelete(const QString& entry, const QString& r) {
    QString out;
    const qsizetype m = r.size();
    qsizetype p = 0;
    while (p < entry.size()) {
        const bool whole = QStringView(entry).mid(p, m) == r && p + m <= entry.size() &&
                           (p == 0 || IsBlank(entry[p - 1])) &&
                           (p + m == entry.size() || IsBlank(entry[p + m]));
        if (whole) {
            p += m;
        } else {
            out += entry[p++];
        }
    }
    return out;
}

bool HasBlank(const QString& s) {
    for (QChar c : s)
        if (IsBlank(c)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString list = fuzz::TextFromBytes(data, size);

    const QString merged = roulette::MergeSpacePairs(list);
    FUZZ_CHECK(merged == ReferenceMerge(list), "pairs of spaces merged wrongly");
    QString text = roulette::StripTrailingChar(merged, u' ');
    FUZZ_CHECK(text == (merged.endsWith(u' ') ? merged.chopped(1) : merged),
               "trailing space stripped wrongly");

    QStringList entries;
    roulette::ForEachEntry(text, [&](QStringView e) {
        FUZZ_CHECK(!e.contains(u' '), "an entry holds a space");
        entries << e.toString();
        return true;
    });
    FUZZ_CHECK(entries.join(u' ') == text, "the split lost text");
    FUZZ_CHECK(text.isEmpty() == entries.isEmpty(), "an empty text has no entries, others some");

    std::vector<roulette::Point> points;
    roulette::SpinRecord record(3, 0);  // refilled by the walk, whatever it held
    const roulette::Outcome outcome =
        roulette::Walk(text, record, [&](const roulette::Point& p) { points.push_back(p); });
    const ReferenceWalk want = WalkByHand(text);
    FUZZ_CHECK(outcome.hadEntries == !entries.isEmpty(), "hadEntries");
    FUZZ_CHECK(outcome.stop == want.stop, "the walk stopped for another reason");
    FUZZ_CHECK(outcome.rejected == want.rejected, "another entry was rejected");
    FUZZ_CHECK(points.size() == want.points.size(), "another number of points");
    for (size_t i = 0; i < points.size(); ++i) {
        FUZZ_CHECK(points[i].x == want.points[i].x && points[i].y == want.points[i].y &&
                       points[i].number == want.points[i].number,
                   "a point differs from the reference walk");
        FUZZ_CHECK(i == 0 || points[i].x > points[i - 1].x, "X not strictly ascending");
    }

    // The record holds the number of every point, in order, and the statistics over it are
    // those of a plain recount of the reference walk's numbers.
    FUZZ_CHECK(record.size() == want.points.size(), "the record's length is not the points'");
    std::vector<int> numbers;
    for (size_t i = 0; i < record.size(); ++i) {
        FUZZ_CHECK(record[i] == want.points[i].number, "the record differs from the points");
        numbers.push_back(want.points[i].number);
    }
    const roulette::Statistics fromRecord = roulette::FromRecord(record);
    const roulette::Statistics recount = roulette::FromNumbers(numbers);
    FUZZ_CHECK(fromRecord.spins == recount.spins, "the record's statistics count other spins");
    for (int n = 1; n <= roulette::kNumbers; ++n)
        FUZZ_CHECK(fromRecord.numbers[n].count == recount.numbers[n].count &&
                       fromRecord.numbers[n].sinceLast == recount.numbers[n].sinceLast,
                   "the record's statistics differ from a recount");

    if (outcome.stop != roulette::Stop::NotANumber && outcome.stop != roulette::Stop::OutOfRange)
        return 0;
    const QString& r = outcome.rejected;
    FUZZ_CHECK(!r.isEmpty() && !IsBlank(r.front()) && !IsBlank(r.back()) && !r.contains(u' '),
               "the rejected entry is a trimmed, non-empty entry");
    const QString after = roulette::DeleteWholeEntry(text, r);
    const QStringList before = text.split(u' ', Qt::KeepEmptyParts);
    const QStringList kept = after.split(u' ', Qt::KeepEmptyParts);
    FUZZ_CHECK(kept.size() == before.size(), "the deletion removed a space");
    for (qsizetype i = 0; i < before.size(); ++i) {
        FUZZ_CHECK(kept[i] == ReferenceDelete(before[i], r),
                   "the deletion differs from the per-entry reference");
        if (ReferenceTrim(before[i]) == r)
            FUZZ_CHECK(ReferenceTrim(kept[i]).isEmpty(), "the rejected entry survived");
        if (!before[i].contains(r))
            FUZZ_CHECK(kept[i] == before[i], "an entry without the rejected text changed");
    }
    const QString back = roulette::MergeSpacePairs(after);
    if (!HasBlank(r)) {
        roulette::ForEachEntry(back, [&](QStringView e) {
            FUZZ_CHECK(roulette::TrimEntry(e) != r,
                       "the list written back holds the rejected entry");
            return true;
        });
    }
    return 0;
}
