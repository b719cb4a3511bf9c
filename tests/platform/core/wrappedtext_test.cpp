// The box's text model: the gap buffer, the paragraph and row starts it keeps up to date
// near each edit, and the wrap at spaces, against plain recomputation on a QString.
#include <gtest/gtest.h>

#include <QString>
#include <random>
#include <vector>

#include "platform/core/WrappedText.h"

namespace {

using platform::WrappedText;
using Starts = std::vector<qsizetype>;

// Paragraph starts recomputed from the whole text.
Starts PlainParagraphs(const QString& s) {
    Starts out{0};
    for (qsizetype i = 0; i < s.size(); ++i)
        if (s[i] == u'\n') out.push_back(i + 1);
    return out;
}

// The rows of a whole fresh model given the text at once: what the kept rows must equal.
Starts FreshRows(const QString& s, int width) {
    WrappedText fresh;
    fresh.setWrap(width, [](char32_t) { return 1; });
    fresh.setText(s);
    return fresh.rowStarts();
}

QString Printable(QString s) {
    return s.replace(u'\n', u'|');
}

// Wrap points at several widths, every code point one unit wide, worked out by hand.
TEST(WrappedText, WrapsAfterSpacesAndBreaksLongWordsAnywhere) {
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    struct Case {
        QString text;
        int width;
        Starts rows;
    };
    const Case cases[] = {
        {"12 345 6", 6, {0, 7}},
        {"12 345 6", 5, {0, 3}},
        {"12 345 6", 2, {0, 3, 5, 7}},  // "345" is wider than a row: it breaks anywhere
        {"12 345 6", 0, {0}},           // no width: no wrap
        {"12 345 6", 100, {0}},
        {"1      2", 3, {0, 7}},  // spaces at a row's end take no room
        {"1\n2", 0, {0, 2}},
        {"1\n", 10, {0, 2}},  // an empty last paragraph is a row
        {"\n\n", 10, {0, 1, 2}},
        {"", 10, {0}},
        {QString("ab") + QChar(0x2028) + "cd", 10, {0, 3}},   // a line separator ends a row
        {QString("12") + QChar(0x00A0) + "34 5", 4, {0, 4}},  // a no-break space does not break
        {smile + smile + smile, 2, {0, 4}},                   // a surrogate pair is one character
        {"7 8 9 10", 1, {0, 2, 4, 6, 7}},
        {"5 12\n7 31 4", 4, {0, 5, 10}},
    };
    for (const Case& c : cases) {
        WrappedText t;
        t.setWrap(c.width, [](char32_t) { return 1; });
        t.setText(c.text);
        EXPECT_EQ(t.rowStarts(), c.rows) << Printable(c.text).toStdString() << " at " << c.width;
        EXPECT_EQ(t.rowStarts(), t.wrapAll()) << Printable(c.text).toStdString();
    }
}

TEST(WrappedText, RowEndsExcludeTheParagraphBreak) {
    WrappedText t;
    t.setWrap(4, [](char32_t) { return 1; });
    t.setText(QStringLiteral("5 12\n7 31 4"));
    ASSERT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.mid(t.rowStart(0), t.rowEnd(0) - t.rowStart(0)), QStringLiteral("5 12"));
    EXPECT_EQ(t.mid(t.rowStart(1), t.rowEnd(1) - t.rowStart(1)), QStringLiteral("7 31 "));
    EXPECT_EQ(t.mid(t.rowStart(2), t.rowEnd(2) - t.rowStart(2)), QStringLiteral("4"));
    EXPECT_EQ(t.paragraphEnd(0), 4);
    EXPECT_EQ(t.rowOf(5), 1);
    EXPECT_EQ(t.rowOf(t.size()), 2);
}

// Edits as the box makes them (typing, Backspace, Delete at the start, middle and end, a
// paste, a line break put in or taken out) leave the text, the paragraphs and the rows as a
// model built afresh from the resulting text has them.
TEST(WrappedText, EditsKeepTextParagraphsAndRowsAsFreshlyComputed) {
    struct Edit {
        qsizetype position, removed;
        QString text;
    };
    QString longList;
    for (int i = 0; i < 400; ++i)
        longList += QString::number(i % 37) + u' ';
    const QString base = QStringLiteral("5 12 7 31 0 22 36 4 19 8 11 3 27");
    struct Case {
        const char* name;
        QString start;
        int width;
        std::vector<Edit> edits;
    };
    const Case cases[] = {
        {"type at the end", base, 9, {{32, 0, " "}, {33, 0, "1"}, {34, 0, "7"}}},
        {"type at the start", base, 9, {{0, 0, "1"}, {0, 0, "3"}, {2, 0, " "}}},
        {"type in the middle", base, 9, {{14, 0, "9"}, {15, 0, "9"}, {16, 0, "9"}}},
        {"backspace at the end", base, 9, {{31, 1, ""}, {30, 1, ""}, {29, 1, ""}}},
        {"backspace in the middle", base, 9, {{13, 1, ""}, {12, 1, ""}, {11, 1, ""}}},
        {"delete at the start", base, 9, {{0, 1, ""}, {0, 1, ""}, {0, 1, ""}}},
        {"delete a whole row", base, 9, {{5, 9, ""}}},
        {"paste a long list", base, 9, {{14, 0, longList}}},
        {"paste over a selection", base, 9, {{2, 20, longList}}},
        {"select all and type", base, 9, {{0, 32, "7"}}},
        {"a line break in and out", base, 9, {{7, 0, "\n"}, {7, 1, ""}, {0, 0, "\n\n"}}},
        {"join paragraphs", "1 2\n3 4\n5", 3, {{3, 1, ""}, {6, 1, " "}}},
        {"a word grows past the row", base, 9, {{2, 0, "111111111111"}}},
        {"a word shrinks back", "123456789012 5 6", 9, {{1, 10, ""}}},
        {"no wrap", base, 0, {{3, 2, "\n"}, {0, 0, "8 "}}},
        {"empty text", "", 5, {{0, 0, "1 2 3 4"}, {0, 7, ""}, {0, 0, "\n"}}},
        {"cascade over many rows", longList, 12, {{0, 0, "9"}, {0, 1, ""}, {1, 0, "99"}}},
    };
    for (const Case& c : cases) {
        WrappedText t;
        t.setWrap(c.width, [](char32_t) { return 1; });
        t.setText(c.start);
        QString plain = c.start;
        for (const Edit& e : c.edits) {
            t.replace(e.position, e.removed, e.text);
            plain.replace(e.position, e.removed, e.text);
            ASSERT_EQ(t.text(), plain) << c.name;
            EXPECT_EQ(t.paragraphStarts(), PlainParagraphs(plain)) << c.name;
            EXPECT_EQ(t.rowStarts(), FreshRows(plain, c.width)) << c.name;
        }
    }
}

// Random edits of every size at random places, with characters that break rows and
// paragraphs among them, against the plain model.
TEST(WrappedText, RandomEditsMatchThePlainModel) {
    std::mt19937 rng(20261211);
    const QString alphabet = QStringLiteral("0123456789     \n") + QChar(0x2028) + QChar(0x00A0);
    for (int round = 0; round < 30; ++round) {
        const int width = static_cast<int>(rng() % 14);
        WrappedText t;
        t.setWrap(width, [](char32_t c) { return c == u' ' ? 1 : 2; });
        QString plain;
        for (int step = 0; step < 200; ++step) {
            const qsizetype position = rng() % (plain.size() + 1);
            const qsizetype removed = rng() % 4 == 0 ? rng() % (plain.size() - position + 1) : 0;
            QString text;
            const int length = rng() % 3 == 0 ? static_cast<int>(rng() % 40) : 1;
            for (int i = 0; i < length; ++i)
                text += alphabet[static_cast<qsizetype>(rng() % alphabet.size())];
            t.replace(position, removed, text);
            plain.replace(position, removed, text);
            ASSERT_EQ(t.text(), plain);
            ASSERT_EQ(t.paragraphStarts(), PlainParagraphs(plain));
            WrappedText fresh;
            fresh.setWrap(width, [](char32_t c) { return c == u' ' ? 1 : 2; });
            fresh.setText(plain);
            ASSERT_EQ(t.rowStarts(), fresh.rowStarts())
                << "width " << width << ": " << Printable(plain).toStdString();
        }
    }
}

TEST(WrappedText, GapBufferReadsAcrossTheGap) {
    platform::GapBuffer b;
    b.insert(0, u"0123456789");
    b.insert(5, u"ab");  // the gap now sits after "ab"
    EXPECT_EQ(b.toString(), QStringLiteral("01234ab56789"));
    EXPECT_EQ(b.mid(3, 6), QStringLiteral("34ab56"));
    EXPECT_EQ(b.mid(10, 99), QStringLiteral("89"));
    b.erase(0, 3);
    b.replace(b.size() - 1, 1, u"X");
    EXPECT_EQ(b.toString(), QStringLiteral("34ab5678X"));
    for (qsizetype i = 0; i < b.size(); ++i)
        EXPECT_EQ(b.at(i), b.toString()[i].unicode()) << i;
}

}  // namespace
