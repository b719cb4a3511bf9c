// The text side of the walk: spacing normalisation, the split, and deleting a rejected
// entry, without a window.
#include <gtest/gtest.h>

#include <QStringList>

#include "roulette/Walk.h"

namespace {

QString Spaces(int n) {
    return QString(n, u' ');
}

TEST(MergeSpacePairs, MergesPairsInOnePassWithoutOverlap) {
    const struct { int run, left; } runs[] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {204, 102}};
    for (const auto& r : runs)
        EXPECT_EQ(roulette::MergeSpacePairs("a" + Spaces(r.run) + "b"), "a" + Spaces(r.left) + "b")
            << r.run << " spaces";
    EXPECT_EQ(roulette::MergeSpacePairs(QString()), QString());
    EXPECT_EQ(roulette::MergeSpacePairs(QStringLiteral("\t\t")), QStringLiteral("\t\t"));
}

TEST(MergeSpacePairs, FindsAPairWhereverItStandsAndNothingElse) {
    // Pairs at every offset, also across the eight-character steps of the fast scan.
    for (int k = 0; k < 20; ++k) {
        const QString prefix(k, u'x');
        EXPECT_EQ(roulette::MergeSpacePairs(prefix + "  y"), prefix + " y") << k;
        EXPECT_EQ(roulette::MergeSpacePairs(prefix + " y "), prefix + " y ") << k;
    }
    // Bytes that spell two spaces across character boundaries are not spaces.
    const QString tricky = QString::fromUtf16(u"\u2041\u2000\u0100 a");
    bool merged = true;
    EXPECT_EQ(roulette::MergeSpacePairs(tricky, &merged), tricky);
    EXPECT_FALSE(merged);
    EXPECT_EQ(roulette::MergeSpacePairs(tricky + "  b", &merged), tricky + " b");
    EXPECT_TRUE(merged);
}

TEST(StripTrailingChar, RemovesAtMostOneMatchingLastCharacter) {
    EXPECT_EQ(roulette::StripTrailingChar(QStringLiteral("5  "), u' '), QStringLiteral("5 "));
    EXPECT_EQ(roulette::StripTrailingChar(QStringLiteral("5"), u' '), QStringLiteral("5"));
    EXPECT_EQ(roulette::StripTrailingChar(QString(), u' '), QString());
    EXPECT_EQ(roulette::StripTrailingChar(QStringLiteral(" "), u' '), QString());
}

QStringList Entries(const QString& text) {
    QStringList out;
    roulette::ForEachEntry(text, [&](QStringView e) {
        out << e.toString();
        return true;
    });
    return out;
}

TEST(ForEachEntry, SplitsAtSpacesOnlyAndKeepsEmptyEntries) {
    EXPECT_EQ(Entries(QString()), QStringList());
    EXPECT_EQ(Entries(QStringLiteral("5")), QStringList({"5"}));
    EXPECT_EQ(Entries(QStringLiteral(" 5")), QStringList({"", "5"}));
    EXPECT_EQ(Entries(QStringLiteral("5 ")), QStringList({"5", ""}));
    EXPECT_EQ(Entries(QStringLiteral("1  2")), QStringList({"1", "", "2"}));
    EXPECT_EQ(Entries(QStringLiteral("1\t2\n3 4")), QStringList({"1\t2\n3", "4"}));
    EXPECT_EQ(Entries(QStringLiteral(" ")), QStringList({"", ""}));
}

TEST(TrimEntry, DropsControlCharactersAndSpacesAtBothEnds) {
    EXPECT_EQ(roulette::TrimEntry(u"\t 12\r\n").toString(), "12");
    EXPECT_EQ(roulette::TrimEntry(u"1\n2").toString(), "1\n2");
    EXPECT_TRUE(roulette::TrimEntry(u"\x01\x1f ").isEmpty());
}

TEST(DeleteWholeEntry, RemovesEveryWholeOccurrenceAndNothingInsideLongerEntries) {
    const struct {
        const char *text, *entry, *out;
    } cases[] = {
        {"5 0 10", "0", "5  10"},
        {"0 10 20 30 0", "0", " 10 20 30 "},
        {"40 5 40", "40", " 5 "},
        {"400 40 140", "40", "400  140"},
        {"5 abc 6 abcd", "abc", "5  6 abcd"},
        {"a\tabc\nabc", "abc", "a\t\n"},  // control characters bound entries too
        {"7", "7", ""},
        {"77 7", "7", "77 "},
        {"x", "y", "x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roulette::DeleteWholeEntry(QString::fromUtf8(c.text), QString::fromUtf8(c.entry)),
                  QString::fromUtf8(c.out))
            << c.text << " minus " << c.entry;
}

TEST(Walk, StopsAtTheFirstBadEntryAndAfterTooManyEmptyEntries) {
    struct Case {
        QString text;
        roulette::Stop stop;
        QString rejected;
        int points;
    } cases[] = {
        {QStringLiteral("1 2 3"), roulette::Stop::None, QString(), 3},
        {QStringLiteral("5 abc 6"), roulette::Stop::NotANumber, QStringLiteral("abc"), 1},
        {QStringLiteral("5 0 10"), roulette::Stop::OutOfRange, QStringLiteral("0"), 1},
        {QStringLiteral("37"), roulette::Stop::OutOfRange, QStringLiteral("37"), 0},
        {QStringLiteral("-5"), roulette::Stop::OutOfRange, QStringLiteral("-5"), 0},
        {QStringLiteral("7.0"), roulette::Stop::NotANumber, QStringLiteral("7.0"), 0},
        {"5" + Spaces(101) + "6", roulette::Stop::None, QString(), 2},  // 100 empty entries
        {"5" + Spaces(102) + "6", roulette::Stop::EmptyRun, QString(), 1},
    };
    for (const Case& c : cases) {
        int points = 0;
        roulette::SpinRecord record(5, 99);  // refilled, whatever it held
        std::vector<uint8_t> numbers;
        const roulette::Outcome out = roulette::Walk(c.text, record, [&](const roulette::Point& p) {
            ++points;
            numbers.push_back(static_cast<uint8_t>(p.number));
        });
        EXPECT_EQ(out.stop, c.stop) << c.text.left(20).toStdString();
        EXPECT_EQ(out.rejected, c.rejected);
        EXPECT_EQ(points, c.points) << c.text.left(20).toStdString();
        EXPECT_EQ(record, numbers) << "the record holds the number of every point, in order";
    }
}

}  // namespace
