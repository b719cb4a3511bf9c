// The restore walk over forms of stand-in components: the round trip of every kind, the
// defaults that keep a control as it is, the visibility rules, lists and side files, the
// order of the setters, and the errors that stop the walk.
#include <gtest/gtest.h>

#include "formstate/FormSettings.h"
#include "formstate/Values.h"
#include "tests/formstate/FakeComponents.h"
#include "tests/formstate/Scratch.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/RecordingUi.h"

using formstate::Kind;

namespace {

void Load(const scratch::Dir& dir, fake::Form& f) {
    formstate::LoadFormSettings(dir.Settings(), {&f});
}

TEST(LoadWalk, EveryKindComesBackAsSaved) {
    scratch::Dir dir;
    fake::Form saved("F");
    saved.Add("M", Kind::TsMemo).text = "5 12\n7";
    saved.Add("DE", Kind::TsDateEdit).text = "01.02.2024";
    saved.Add("P", Kind::TDateTimePicker).time = QTime(13, 14, 15);
    saved.Add("E", Kind::TEdit).text = "e";
    saved.Add("SE", Kind::TsEdit).text = "se";
    saved.Add("CE", Kind::TsCurrencyEdit).text = "1.5";
    saved.Add("LE", Kind::TLabeledEdit).text = "le";
    auto& cb = saved.Add("CB", Kind::TComboBox);
    cb.items = {"red", "green"};
    cb.text = "green";
    auto& scb = saved.Add("SCB", Kind::TsComboBox);
    scb.items = {"one"};
    scb.text = "typed";
    saved.Add("C", Kind::TCheckBox).checked = true;
    saved.Add("SC", Kind::TsCheckBox).checked = true;
    saved.Add("R", Kind::TRadioButton).checked = true;
    saved.Add("SR", Kind::TsRadioButton).checked = true;
    saved.Add("RG", Kind::TRadioGroup).itemIndex = 2;
    saved.Add("S", Kind::TSpinEdit).value = 300;
    auto& ss = saved.Add("SS", Kind::TsSpinEdit);
    ss.text = "-7";
    ss.value = -7;
    saved.Add("PN", Kind::TPanel).color = static_cast<int32_t>(0xFF00000Fu);
    saved.Add("A", Kind::TAdvSpinEdit).floatValue = 0.1;
    saved.Add("L", Kind::TListBox).items = {"u", "v"};
    saved.Add("SL", Kind::TsListBox).items = {"w"};
    auto& cl = saved.Add("CL", Kind::TCheckListBox);
    cl.items = {"A", "B"};
    cl.checks = {false, true};
    formstate::SaveFormSettings(dir.Settings(), {&saved});

    fake::Form fresh("F");
    fresh.Add("M", Kind::TsMemo);
    fresh.Add("DE", Kind::TsDateEdit);
    fresh.Add("P", Kind::TDateTimePicker);
    fresh.Add("E", Kind::TEdit);
    fresh.Add("SE", Kind::TsEdit);
    fresh.Add("CE", Kind::TsCurrencyEdit).text = "0";
    fresh.Add("LE", Kind::TLabeledEdit);
    fresh.Add("CB", Kind::TComboBox).items = {"old"};
    fresh.Add("SCB", Kind::TsComboBox);
    fresh.Add("C", Kind::TCheckBox);
    fresh.Add("SC", Kind::TsCheckBox);
    fresh.Add("R", Kind::TRadioButton);
    fresh.Add("SR", Kind::TsRadioButton);
    fresh.Add("RG", Kind::TRadioGroup);
    fresh.Add("S", Kind::TSpinEdit);
    fresh.Add("SS", Kind::TsSpinEdit);
    fresh.Add("PN", Kind::TPanel);
    fresh.Add("A", Kind::TAdvSpinEdit);
    fresh.Add("L", Kind::TListBox);
    fresh.Add("SL", Kind::TsListBox);
    fresh.Add("CL", Kind::TCheckListBox);
    Load(dir, fresh);

    for (const char* n : {"M", "DE", "E", "SE", "CE", "LE", "CB", "SCB", "SS"})
        EXPECT_EQ(fresh.Get(n).text, saved.Get(n).text) << n;
    for (const char* n : {"CB", "SCB", "L", "SL", "CL"})
        EXPECT_EQ(fresh.Get(n).items, saved.Get(n).items) << n;
    for (const char* n : {"C", "SC", "R", "SR"})
        EXPECT_TRUE(fresh.Get(n).checked) << n;
    EXPECT_EQ(fresh.Get("P").time, QTime(13, 14, 15));
    EXPECT_EQ(fresh.Get("RG").itemIndex, 2);
    EXPECT_EQ(fresh.Get("S").value, 300);
    EXPECT_EQ(fresh.Get("SS").value, -7);
    EXPECT_EQ(fresh.Get("PN").color, static_cast<int32_t>(0xFF00000Fu));
    EXPECT_DOUBLE_EQ(fresh.Get("A").floatValue, 0.1);
    EXPECT_EQ(fresh.Get("CL").checks, (std::vector<bool>{false, true}));
}

TEST(LoadWalk, AMissingFileBeepsOnceAndChangesNothing) {
    testing_support::RecordingUi ui;
    scratch::Dir dir;
    fake::Form f("F");
    f.Add("E", Kind::TEdit).text = "keep";
    Load(dir, f);
    QDir().mkpath(dir.Settings());  // a directory of that name is no settings file
    Load(dir, f);
    EXPECT_EQ(ui.events, QStringList({"beep", "beep"}));
    EXPECT_TRUE(f.log.isEmpty());
    EXPECT_EQ(f.Get("E").text, "keep");
}

TEST(LoadWalk, MissingOrUnreadableKeysKeepTheControlsValues) {
    scratch::Dir dir;
    dir.Write("settings.dat",
              "[F]\nS1.Value=9999\nS2.Value=abc\nC.Checked=true\nA.FloatValue=x\nPN.Color=$FF\n");
    fake::Form f("F");
    auto& s1 = f.Add("S1", Kind::TSpinEdit);
    auto& s2 = f.Add("S2", Kind::TSpinEdit);
    for (auto* s : {&s1, &s2}) {
        s->value = 100;
        s->limits = std::make_pair(int64_t{50}, int64_t{5000});
    }
    f.Add("C", Kind::TCheckBox).checked = true;
    f.Add("A", Kind::TAdvSpinEdit).floatValue = 1.25;
    f.Add("PN", Kind::TPanel).color = 7;
    f.Add("E", Kind::TEdit).text = "keep  ";
    f.Add("SS", Kind::TsSpinEdit).value = 5000000000LL;
    f.Add("M", Kind::TMemo);  // no ".File" key and no text: nothing is loaded
    Load(dir, f);
    EXPECT_EQ(s1.value, 5000);  // the spin edit clamps
    EXPECT_EQ(s2.value, 100);
    EXPECT_TRUE(f.Get("C").checked);
    EXPECT_DOUBLE_EQ(f.Get("A").floatValue, 1.25);
    EXPECT_EQ(f.Get("PN").color, 255);
    EXPECT_EQ(f.Get("E").text, "keep");  // the default loses its trailing blanks
    // The default of a 64-bit spin edit is its low 32 bits, widened with their sign.
    EXPECT_EQ(f.Get("SS").value, 705032704);
    EXPECT_EQ(f.Get("M").text, "");
    EXPECT_FALSE(f.log.contains("M.Text="));
}

TEST(LoadWalk, ListsEmptyOneEmptyItemAndATailName) {
    scratch::Dir dir;
    dir.Write("settings.dat",
              "[F]\nEmpty.Items=<*]]]\nBlank.Items=<**><*]]]\n"
              "Big_C.Items=<*1*><*2*><*]]]\nC.Items=<*3*><*]]]\n");
    fake::Form f("F");
    f.Add("Empty", Kind::TComboBox).items = {"keep"};
    f.Add("Blank", Kind::TComboBox).items = {"gone"};
    f.Add("C", Kind::TComboBox).items = {"x"};
    Load(dir, f);
    EXPECT_EQ(f.Get("Empty").items, QStringList({"keep"}));
    EXPECT_EQ(f.Get("Blank").items, QStringList());
    EXPECT_EQ(f.Get("C").items, QStringList({"1", "2"}));
}

TEST(LoadWalk, HiddenMemosAndListBoxesAreSkippedOtherHiddenControlsRestored) {
    scratch::Dir dir;
    dir.Write("settings.dat",
              "[F]\nM.File=M\nL.File=L\nE.Text=e\nC.Checked=1\nCB.Items=<*i*><*]]]\nCB.Text=i\n");
    dir.Write("System/M.txt", "memo");
    dir.Write("System/Settings/L.txt", "line\n");
    fake::Form f("F");
    for (auto [name, kind] : {std::pair{"M", Kind::TMemo},
                              {"L", Kind::TListBox},
                              {"E", Kind::TEdit},
                              {"C", Kind::TCheckBox},
                              {"CB", Kind::TComboBox}})
        f.Add(name, kind).visible = false;
    Load(dir, f);
    EXPECT_EQ(f.Get("M").text, "");
    EXPECT_EQ(f.Get("L").items, QStringList());
    EXPECT_EQ(f.Get("E").text, "e");
    EXPECT_TRUE(f.Get("C").checked);
    EXPECT_EQ(f.Get("CB").items, QStringList({"i"}));
    EXPECT_EQ(f.Get("CB").text, "i");
}

TEST(LoadWalk, ListBoxesPreferTheirSideFileOverTheirItemsKey) {
    scratch::Dir dir;
    dir.Write("settings.dat", "[F]\nSL.File=SL\nSL.Items=<*from key*><*]]]\n");
    dir.Write("System/Settings/SL.txt",
              "\xEF\xBB\xBF"
              "a\r\nb\rc\n");
    fake::Form f("F");
    auto& list = f.Add("SL", Kind::TsListBox);
    list.items = {"old"};
    Load(dir, f);
    EXPECT_EQ(list.items, QStringList({"a", "b", "c"}));
    EXPECT_EQ(list.encoding, platform::TextEncoding::Utf8);

    // Without the side file the items come from the key, in update mode.
    QFile::remove(dir.Path("System/Settings/SL.txt"));
    f.log.clear();
    Load(dir, f);
    EXPECT_EQ(list.items, QStringList({"from key"}));
    EXPECT_EQ(f.log, QStringList({"SL.Clear", "SL.Add=from key (updating)"}));
    EXPECT_FALSE(list.updating);
}

TEST(LoadWalk, MemosTakeTheWholeSideFileWithLineBreaksAsLf) {
    scratch::Dir dir;
    dir.Write("settings.dat", "[F]\nM.File=Numbers\n");
    dir.Write("System/Numbers.txt",
              platform::EncodeText(u"5 12\r\n7\r8\r\n", platform::TextEncoding::Utf16BE));
    fake::Form f("F");
    auto& memo = f.Add("M", Kind::TMemo);
    Load(dir, f);
    EXPECT_EQ(memo.text, "5 12\n7\n8\n");
    EXPECT_EQ(memo.encoding, platform::TextEncoding::Utf16BE);
    // Saved back in the encoding it was loaded in, under its own name.
    formstate::SaveFormSettings(dir.Settings(), {&f});
    EXPECT_EQ(dir.Read("System/M.txt"),
              platform::EncodeText(u"5 12\n7\n8\n", platform::TextEncoding::Utf16BE));

    // A missing ".File" key falls back to the memo's own text as the file's name.
    dir.Write("settings.dat", "[F]\n");
    dir.Write("System/abc.txt", "from abc");
    memo.text = "abc";
    Load(dir, f);
    EXPECT_EQ(memo.text, "from abc");
}

TEST(LoadWalk, RulesRunInTableOrderAndIsARelationsRepeatThem) {
    scratch::Dir dir;
    dir.Write("settings.dat", "[F]\nSS.Text=12\nSS.Value=34\nSE.Text=t\nSR.Checked=1\n");
    fake::Form f("F");
    f.Add("SS", Kind::TsSpinEdit);
    f.Add("SE", Kind::TsEdit);
    f.Add("SR", Kind::TsRadioButton);
    Load(dir, f);
    EXPECT_EQ(f.log, QStringList({"SS.Text=12", "SS.Text=12", "SS.Value=34", "SE.Text=t",
                                  "SE.Text=t", "SR.Checked=1", "SR.Checked=1"}));
}

TEST(LoadWalk, VisiblePickersWriteTheirTimeBack) {
    scratch::Dir dir;
    dir.Write("settings.dat", "[F]\nE.Text=e\n");
    fake::Form f("F");
    f.Add("P", Kind::TDateTimePicker).time = QTime(8, 30, 0);
    f.Add("H", Kind::TDateTimePicker).visible = false;
    Load(dir, f);
    EXPECT_EQ(f.Get("P").time, QTime(8, 30, 0));
    EXPECT_EQ(dir.Read("settings.dat"), QByteArray("[F]\nE.Text=e\nP.Time=08:30:00\n"));
}

TEST(LoadWalk, AnUnreadableValueStopsTheRestoreThere) {
    struct Case {
        QByteArray line;
        Kind kind;
        QString message;
    };
    const Case cases[] = {
        {"X.Time=noon", Kind::TDateTimePicker, "'noon' is not a valid time"},
        {"X.Text=abc", Kind::TsCurrencyEdit, "'abc' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        scratch::Dir dir;
        dir.Write("settings.dat", "[F]\nE1.Text=one\n" + c.line + "\nE2.Text=two\n");
        fake::Form f("F");
        f.Add("E1", Kind::TEdit).text = "design";
        auto& x = f.Add("X", c.kind);
        x.currencyText = c.kind == Kind::TsCurrencyEdit;
        f.Add("E2", Kind::TEdit).text = "design";
        try {
            Load(dir, f);
            ADD_FAILURE() << "no error";
        } catch (const formstate::ConvertError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(f.Get("E1").text, "one");
        EXPECT_EQ(f.Get("E2").text, "design");
    }
}

TEST(LoadWalk, AnUnreadableSideFileIsAnError) {
    scratch::Dir dir;
    dir.Write("settings.dat", "[F]\nM.File=M\n");
    dir.Write("System/M.txt", "x");
    QFile::setPermissions(dir.Path("System/M.txt"), QFileDevice::Permissions());
    testing_support::ScopedFilePermissions permissions(dir.Path(""));
    if (!permissions.Binding()) GTEST_SKIP() << "cannot make a file unreadable here";
    QFile probe(dir.Path("System/M.txt"));
    ASSERT_FALSE(probe.open(QIODevice::ReadOnly));
    fake::Form f("F");
    f.Add("M", Kind::TMemo);
    EXPECT_THROW(Load(dir, f), platform::FileOpenError);
}

}  // namespace
