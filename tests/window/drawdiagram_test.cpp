// DrawDiagram on a real main window: points, colours, the list written back, messages,
// beeps, zero lines and the bottom axis.
#include <gtest/gtest.h>

#include "tests/window/FormFixture.h"

using namespace testing_support;

namespace {

const QString kNoList = QStringLiteral("Не задан список номеров!");
const QString kBad = QStringLiteral("Ошибка обработки номера: ");
const QString kRange = QStringLiteral("Числа должны быть в диапазоне [1, 36]!");

struct Case {
    const char* name;
    QString list;
    std::vector<WalkPoint> points;
    QString memoAfter;
    QStringList events;
    int zeroLinesAdded;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class DrawDiagramTable : public FormTest, public ::testing::WithParamInterface<Case> {};

TEST_P(DrawDiagramTable, WalksTheListAndWritesItBack) {
    const Case& c = GetParam();
    SetMemo(c.list);
    const int linesBefore = ZeroLines();
    form->DrawDiagram(false);
    EXPECT_EQ(Points(), c.points);
    EXPECT_EQ(Memo(), c.memoAfter);
    EXPECT_EQ(ui.events, c.events);
    EXPECT_EQ(ZeroLines() - linesBefore, c.zeroLinesAdded);
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 100);
}

QString Sp(int n) {
    return QString(n, u' ');
}

INSTANTIATE_TEST_SUITE_P(
    Lists, DrawDiagramTable,
    ::testing::Values(
        Case{"single_spaces", "1 2 3", {{0, -1, B}, {1, 0, G}, {2, -1, B}}, "1 2 3", {}, 1},
        Case{"trailing_space", "5 ", {{0, -1, B}}, "5", {}, 1},
        Case{"two_spaces", "12  7", {{0, 1, G}, {1, 0, B}}, "12 7", {}, 1},
        Case{"three_spaces", "5   6", {{0, -1, B}, {2, 0, G}}, "5 6", {}, 1},
        Case{"leading_space", " 5", {{1, -1, B}}, " 5", {}, 1},
        Case{
            "out_of_range_keeps_longer", "5 0 10", {{0, -1, B}}, "5 10", {"message: " + kRange}, 1},
        Case{"first_entry_bad_all_copies_go", "40 5 40", {}, " 5 ", {"message: " + kRange}, 1},
        Case{"not_a_number", "5 abc 6", {{0, -1, B}}, "5 6", {"message: " + kBad + "abc"}, 1},
        Case{"line_break_inside_entry", "5\n6 7", {}, " 7", {"message: " + kBad + "5\n6"}, 1},
        Case{"hex", "$A", {{0, 1, G}}, "$A", {}, 1},
        Case{"all_spellings_of_seven",
             "7 +7 007 $7 x7 0x07",
             {{0, -1, B}, {1, -2, B}, {2, -3, B}, {3, -4, B}, {4, -5, B}, {5, -6, B}},
             "7 +7 007 $7 x7 0x07",
             {},
             1},
        Case{"hex_thirty_six", "$24 0x24", {{0, 1, G}, {1, 2, G}}, "$24 0x24", {}, 1},
        Case{"empty", "", {}, "", {"beep", "message: " + kNoList}, 0},
        Case{"two_spaces_only", "  ", {}, "  ", {"beep", "message: " + kNoList}, 0},
        Case{"long_empty_run_stops_walk",
             "5" + Sp(204) + "6",
             {{0, -1, B}},
             "5" + Sp(51) + "6",
             {},
             1}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST_F(FormTest, TheNextRedrawDrawsWhatFollowedTheDeletedEntry) {
    SetMemo(QStringLiteral("5 0 10"));
    form->DrawDiagram(false);
    ui.Clear();
    form->DrawDiagram(false);
    EXPECT_EQ(Points(), (std::vector<WalkPoint>{{0, -1, B}, {1, 0, G}}));
    EXPECT_TRUE(ui.events.isEmpty());

    SetMemo(QStringLiteral("40 5 40"));
    form->DrawDiagram(false);
    form->DrawDiagram(false);
    EXPECT_EQ(Points(), (std::vector<WalkPoint>{{1, -1, B}}));  // after the empty first entry
}

TEST_F(FormTest, SilentModeWithholdsOnlyTheEmptyListMessage) {
    form->DrawDiagram(true);
    EXPECT_EQ(ui.events, QStringList({"beep"}));
    SetMemo(QStringLiteral("5 x"));
    form->DrawDiagram(true);
    EXPECT_EQ(ui.Messages(), QStringList({kBad + "x"}));
}

TEST_F(FormTest, PageSizeTextSetsTheBottomAxis) {
    SetMemo(QStringLiteral("1"));
    form->DotsPerPage_SE->SetText(QStringLiteral("-"));  // not an integer: the minimum 50
    EXPECT_EQ(Bottom().Maximum(), 50);
    ui.Clear();
    form->DotsPerPage_SE->SetText(QStringLiteral("-5"));  // refused by the axis: beep, keep 50
    EXPECT_EQ(ui.events, QStringList({"beep"}));
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 50);
    EXPECT_EQ(Points().size(), 1u);
    form->DotsPerPage_SE->SetText(QStringLiteral("700"));
    EXPECT_EQ(Bottom().Maximum(), 700);
}

TEST_F(FormTest, AViewDraggedBelowZeroNoLongerBlocksTheRedraw) {
    SetMemo(QStringLiteral("2 4"));
    Bottom().SetMinMax(-400, -100);  // as a drag far to the left leaves it
    form->DrawDiagram(false);
    EXPECT_TRUE(ui.Errors().isEmpty());
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 100);
    EXPECT_EQ(Points().size(), 2u);

    // With a negative page size the window comes back to 0 .. 50 and the usual beep sounds.
    Bottom().SetMinMax(-400, -100);
    form->DotsPerPage_SE->blockSignals(true);
    form->DotsPerPage_SE->SetText(QStringLiteral("-7"));
    form->DotsPerPage_SE->blockSignals(false);
    ui.Clear();
    form->DrawDiagram(false);
    EXPECT_EQ(ui.events, QStringList({"beep"}));
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 50);
}

TEST_F(FormTest, EachRedrawAddsAZeroLineToTheCurrentMaximum) {
    SetMemo(QStringLiteral("1 2"));
    form->DrawDiagram(false);
    form->DotsPerPage_SE->SetText(QStringLiteral("300"));
    ASSERT_GE(ZeroLines(), 2);
    auto* last = Chart().Series(Chart().SeriesCount() - 1);
    EXPECT_EQ(last->Count(), 2);
    EXPECT_EQ(last->XValues().Value(0), 0);
    EXPECT_EQ(last->XValues().Value(1), 300);
    EXPECT_EQ(last->YValues().Value(1), 0);
    EXPECT_FALSE(last->HasColorList());
}

TEST_F(FormTest, FirstStartBeepsOnceAndShowsAnEmptyWalkOverZeroToOneHundred) {
    form->FormCreate();
    EXPECT_EQ(ui.events, QStringList({"beep"}));
    EXPECT_EQ(form->windowTitle(), "Vexilo ver. 0.1");
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 100);
    EXPECT_EQ(ZeroLines(), 1);
    EXPECT_TRUE(Points().empty());
    EXPECT_EQ(Chart().Series(0), form->Series1);
    EXPECT_EQ(form->Series1->SeriesColor(), 0xA36644u);
    EXPECT_EQ(Chart().Series(1)->SeriesColor(), 0x359CF3u);
}

}  // namespace
