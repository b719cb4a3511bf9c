// The ".Items" list encoding: TextBetween, encoding, and decoding from the whole settings
// text, with the cases where the frames do not line up.
#include <gtest/gtest.h>

#include "formstate/ListCodec.h"

using formstate::CheckedItem;

namespace {

TEST(ListCodec, TextBetweenTakesTheTextAfterTheFirstStartUpToTheNextEnd) {
    struct Case {
        QString text, start, end, expected;
    };
    const Case cases[] = {
        {"a[b]c", "[", "]", "b"},     {"[a][b]", "[", "]", "a"},
        {"abc", "x", "c", ""},   // no start mark
        {"abc", "a", "x", ""},   // no end mark
        {"]a[b", "[", "]", ""},  // the end mark only before the start mark
        {"ABC", "a", "c", ""},   // case-sensitive
        {"xx", "x", "x", ""},    // the end right after the start
        {"<*<**>", "<*", "*>", "<*"}, {"!!!A--->[check", "!!!", "--->[", "A"},
        {"!!!A", "!!!", "--->[", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formstate::TextBetween(c.text, c.start, c.end), c.expected)
            << qPrintable(c.text) << " " << qPrintable(c.start) << " " << qPrintable(c.end);
}

TEST(ListCodec, EncodesFramesThatAbut) {
    EXPECT_EQ(formstate::EncodeList({"red", "green"}), "<*red*><*green*><*]]]");
    EXPECT_EQ(formstate::EncodeList({}), "<*]]]");
    EXPECT_EQ(formstate::EncodeList({""}), "<**><*]]]");
    EXPECT_EQ(formstate::EncodeCheckList({{"A", true}, {"B", false}}),
              "<*A--->[check+check]*><*B--->[check-check]*><*]]]");
}

TEST(ListCodec, DecodesTheListThatFollowsTheFirstOccurrenceOfTheKey) {
    struct Case {
        const char* what;
        QString text;
        bool found;
        QStringList items;
    };
    const Case cases[] = {
        {"two items", "[F]\r\nC.Items=<*red*><*green*><*]]]\r\n", true, {"red", "green"}},
        {"empty list keeps the items", "C.Items=<*]]]\r\n", false, {}},
        {"one empty item clears", "C.Items=<**><*]]]\r\n", true, {}},
        {"empty items are dropped", "C.Items=<*a*><**><*b*><*]]]\r\n", true, {"a", "b"}},
        {"no key", "D.Items=<*a*><*]]]\r\n", false, {}},
        {"key case matters", "c.items=<*a*><*]]]\r\n", false, {}},
        {"no ]]] anywhere after the key", "C.Items=<*a*><*\r\n", false, {}},
        {"]]] only before the key", "D.Items=<*]]]\r\nC.Items=<*a*><*\r\n", false, {}},
        // A name that is the tail of another's finds the other's list first.
        {"tail of a longer name", "Big_C.Items=<*1*><*]]]\r\nC.Items=<*2*><*]]]\r\n", true, {"1"}},
        // A list that lost its "]]]" runs on to the next one, across lines and keys.
        {"runs on to a later ]]]",
         "C.Items=<*a*><*\r\nD.Items=<*b*><*]]]\r\n",
         true,
         {"a", "\r\nD.Items=<*b"}},
        // An item holding "*>": its rest cannot be framed; the items so far stay.
        {"item holding *>", "C.Items=<*a*><*x*>y*><*b*><*]]]\r\n", true, {"a", "x", "b"}},
        {"*> right before the end", "C.Items=<*a*>*><*]]]\r\n", true, {"a"}},
        {"frames without *>", "C.Items=<*a<*b<*]]]\r\n", true, {}},
    };
    for (const Case& c : cases) {
        const formstate::DecodedList list = formstate::DecodeList(c.text, "C");
        EXPECT_EQ(list.found, c.found) << c.what;
        EXPECT_EQ(list.items, c.items) << c.what;
    }
}

TEST(ListCodec, DecodesCheckListsByTheirMarkers) {
    auto decode = [](const QString& value) {
        std::vector<std::pair<QString, bool>> out;
        const auto list = formstate::DecodeCheckList("L.Items=" + value + "\r\n", "L");
        for (const CheckedItem& i : list.items)
            out.emplace_back(i.text, i.checked);
        return out;
    };
    using Items = std::vector<std::pair<QString, bool>>;
    // An item with an empty name adds nothing and sets no check state.
    EXPECT_EQ(decode("<*A--->[check-check]*><*--->[check+check]*><*B--->[check+check]*><*]]]"),
              (Items{{"A", false}, {"B", true}}));
    // Any "--->[check+check]" in the item marks it checked; the name ends at the first "--->[".
    EXPECT_EQ(decode("<*X--->[check+check]--->[check-check]*><*]]]"), (Items{{"X", true}}));
    // Without a marker there is no name.
    EXPECT_EQ(decode("<*plain*><*Y--->[check-check]*><*]]]"), (Items{{"Y", false}}));
    EXPECT_FALSE(formstate::DecodeCheckList(u"L.Items=<*]]]\r\n", "L").found);

    const std::vector<CheckedItem> items = {{"one", true}, {"two", false}, {"three", true}};
    const auto back =
        formstate::DecodeCheckList("L.Items=" + formstate::EncodeCheckList(items), "L");
    ASSERT_EQ(back.items.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.items[i].text, items[i].text);
        EXPECT_EQ(back.items[i].checked, items[i].checked);
    }
}

}  // namespace
