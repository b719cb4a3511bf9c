// The save walk over forms of stand-in components: which keys each kind writes and in what
// order, the side files, the about box, hidden controls, and what a failure leaves behind.
#include <gtest/gtest.h>

#include "formstate/FormSettings.h"
#include "formstate/IniFile.h"
#include "tests/formstate/FakeComponents.h"
#include "tests/formstate/Scratch.h"

using formstate::Kind;

namespace {

// One visible component of every kind, and one that stores nothing.
void AddEveryKind(fake::Form& f) {
    f.Add("M", Kind::TsMemo).text = "a\nb";
    f.Add("DE", Kind::TsDateEdit).text = "01.02.2024";
    f.Add("P", Kind::TDateTimePicker).time = QTime(13, 14, 15);
    f.Add("E", Kind::TEdit).text = " e ";
    f.Add("SE", Kind::TsEdit).text = "se";
    f.Add("CE", Kind::TsCurrencyEdit).text = "1.5";
    f.Add("LE", Kind::TLabeledEdit).text = "le";
    f.Add("CB", Kind::TComboBox).text = "t";
    auto& scb = f.Add("SCB", Kind::TsComboBox);
    scb.items = {""};
    f.Add("C", Kind::TCheckBox).checked = true;
    f.Add("R", Kind::TRadioButton).checked = false;
    f.Add("SC", Kind::TsCheckBox).checked = true;
    f.Add("SR", Kind::TsRadioButton).checked = true;
    f.Add("RG", Kind::TRadioGroup).itemIndex = -1;
    f.Add("S", Kind::TSpinEdit).value = 100;
    auto& ss = f.Add("SS", Kind::TsSpinEdit);
    ss.text = "5000000000";
    ss.value = 5000000000LL;
    f.Add("PN", Kind::TPanel).color = static_cast<int32_t>(0xFF00000Fu);
    f.Add("A", Kind::TAdvSpinEdit).floatValue = 2.5;
    f.Add("LB", Kind::TsListBox).items = {"x", "y"};
    auto& cl = f.Add("CL", Kind::TCheckListBox);
    cl.items = {"A", "B"};
    cl.checks = {true, false};
    f.Add("N", Kind::None);
}

const QByteArray kEveryKindSection =
    "[F]\n"
    "M.File=M\n"
    "DE.Text=01.02.2024\n"
    "P.Time=13:14:15\n"
    "E.Text= e \n"
    "SE.Text=se\n"
    "CE.Text=1.5\n"
    "LE.Text=le\n"
    "CB.Items=<*]]]\n"
    "CB.Text=t\n"
    "SCB.Items=<**><*]]]\n"
    "SCB.Text=\n"
    "C.Checked=1\n"
    "R.Checked=0\n"
    "SC.Checked=1\n"
    "SR.Checked=1\n"
    "RG.ItemIndex=-1\n"
    "S.Value=100\n"
    "SS.Text=5000000000\n"
    "SS.Value=705032704\n"
    "PN.Color=-16777201\n"
    "A.FloatValue=2.5\n"
    "LB.File=LB\n"
    "LB.Items=<*x*><*y*><*]]]\n"
    "CL.Items=<*A--->[check+check]*><*B--->[check-check]*><*]]]\n";

TEST(SaveWalk, EveryKindWritesItsKeysInRuleOrder) {
    scratch::Dir dir;
    fake::Form f("F");
    AddEveryKind(f);
    formstate::SaveFormSettings(dir.Settings(), {&f});
    EXPECT_EQ(dir.Read("settings.dat"), kEveryKindSection);
    // A memo's side file holds its text exactly; a list box's ends every item with a line end.
    EXPECT_EQ(dir.Read("System/M.txt"), QByteArray("a\nb"));
    EXPECT_EQ(dir.Read("System/Settings/LB.txt"), QByteArray("x\ny\n"));
    EXPECT_EQ(dir.Entries(), QStringList({"System", "System/M.txt", "System/Settings",
                                          "System/Settings/LB.txt", "settings.dat"}));

    // Saving again without changes gives the same files.
    formstate::SaveFormSettings(dir.Settings(), {&f});
    EXPECT_EQ(dir.Read("settings.dat"), kEveryKindSection);
    EXPECT_EQ(dir.Read("System/M.txt"), QByteArray("a\nb"));
    EXPECT_EQ(dir.Read("System/Settings/LB.txt"), QByteArray("x\ny\n"));
}

TEST(SaveWalk, ListsWorkedExample) {
    scratch::Dir dir;
    fake::Form f("F");
    auto& combo = f.Add("Colors_ComboBox", Kind::TComboBox);
    combo.items = {"red", "green"};
    combo.text = "green";
    auto& checks = f.Add("Options_CheckListBox", Kind::TCheckListBox);
    checks.items = {"A", "B"};
    checks.checks = {true, false};
    formstate::SaveFormSettings(dir.Settings(), {&f});
    EXPECT_EQ(dir.Read("settings.dat"),
              QByteArray("[F]\n"
                         "Colors_ComboBox.Items=<*red*><*green*><*]]]\n"
                         "Colors_ComboBox.Text=green\n"
                         "Options_CheckListBox.Items="
                         "<*A--->[check+check]*><*B--->[check-check]*><*]]]\n"));
}

TEST(SaveWalk, RebuildsSavedSectionsAndLeavesTheAboutBoxAndClosedForms) {
    scratch::Dir dir;
    dir.Write("settings.dat",
              "[Other]\nx=1\n[AboutForm]\nE.Text=old\n[F]\nGone.Text=1\nE.Text=old\n");
    fake::Form about("AboutForm");
    about.Add("E", Kind::TEdit).text = "new";
    fake::Form f("F");
    f.Add("E", Kind::TEdit).text = "new";
    // Only the exact name is skipped; as section names ignore case, this form's section is
    // the about box's, and saving it replaces that.
    fake::Form lower("aboutform");
    lower.Add("E", Kind::TEdit).text = "new";
    formstate::SaveFormSettings(dir.Settings(), {&about, &f});
    EXPECT_EQ(dir.Read("settings.dat"),
              QByteArray("[Other]\nx=1\n[AboutForm]\nE.Text=old\n[F]\nE.Text=new\n"));
    formstate::SaveFormSettings(dir.Settings(), {&about, &f, &lower});
    EXPECT_EQ(dir.Read("settings.dat"),
              QByteArray("[Other]\nx=1\n[F]\nE.Text=new\n[aboutform]\nE.Text=new\n"));
}

TEST(SaveWalk, HiddenControlsWriteNothingAndLoseTheirOldKeys) {
    scratch::Dir dir;
    dir.Write("settings.dat", "[F]\nM.File=M\nL.File=L\nE.Text=old\nC.Checked=1\n");
    fake::Form f("F");
    f.Add("M", Kind::TMemo).visible = false;
    f.Add("L", Kind::TListBox).visible = false;
    f.Add("E", Kind::TEdit).visible = false;
    f.Add("C", Kind::TCheckBox).checked = true;
    formstate::SaveFormSettings(dir.Settings(), {&f});
    EXPECT_EQ(dir.Read("settings.dat"), QByteArray("[F]\nC.Checked=1\n"));
    // No side files, so no directories for them.
    EXPECT_EQ(dir.Entries(), QStringList({"settings.dat"}));
}

TEST(SaveWalk, SideFilesKeepTheEncodingTheirControlLastLoaded) {
    scratch::Dir dir;
    fake::Form f("F");
    auto& memo = f.Add("M", Kind::TMemo);
    memo.text = "Ж";
    memo.encoding = platform::TextEncoding::Utf16LE;
    auto& list = f.Add("L", Kind::TListBox);
    list.items = {"Ё"};
    list.encoding = platform::TextEncoding::Utf8;
    formstate::SaveFormSettings(dir.Settings(), {&f});
    EXPECT_EQ(dir.Read("System/M.txt"), QByteArray("\xFF\xFE\x16\x04", 4));
    EXPECT_EQ(dir.Read("System/Settings/L.txt"), QByteArray("\xEF\xBB\xBF\xD0\x81\n"));
}

TEST(SaveWalk, TheFirstFailureEndsTheSaveWithWhatWasWrittenKept) {
    scratch::Dir dir;
    dir.Write("settings.dat", "[F]\nE.Text=old\nC.Checked=0\n[G]\nk=1\n");
    QDir().mkpath(dir.Path("System/M.txt"));  // a directory where the side file must go
    fake::Form f("F");
    f.Add("E", Kind::TEdit).text = "new";
    f.Add("M", Kind::TMemo).text = "5 12";
    f.Add("C", Kind::TCheckBox).checked = true;
    fake::Form g("G");
    g.Add("k", Kind::TEdit).text = "2";
    try {
        formstate::SaveFormSettings(dir.Settings(), {&f, &g});
        FAIL() << "no error";
    } catch (const platform::FileCreateError& e) {
        EXPECT_TRUE(
            e.message().startsWith("Cannot create file \"" + dir.Path("System/M.txt") + "\". "))
            << qPrintable(e.message());
    }
    // Written before the failure: the rebuilt start of F's section; after it: nothing.
    EXPECT_EQ(dir.Read("settings.dat"), QByteArray("[G]\nk=1\n[F]\nE.Text=new\nM.File=M\n"));
    EXPECT_TRUE(QFileInfo(dir.Path("System/M.txt")).isDir());
}

}  // namespace

namespace {

// A side file whose content this run never saw (settings.dat did not lead to it, or it
// could not be read) is kept as a backup before the save replaces it; backups are never
// overwritten. Files the run loaded or wrote, empty files and files that already hold the
// new text are simply replaced.
TEST(SaveWalk, ASideFileThisRunNeverSawIsKeptAsABackup) {
    scratch::Dir dir;
    dir.Write("System/M.txt", "1 2 3");
    dir.Write("System/M.txt.bak", "an older backup");
    dir.Write("System/Same.txt", "same");
    dir.Write("System/Empty.txt", "");
    fake::Form f("F");
    f.Add("M", Kind::TMemo).text = "4";
    f.Add("Same", Kind::TMemo).text = "same";
    f.Add("Empty", Kind::TMemo).text = "x";
    formstate::SaveFormSettings(dir.Settings(), {&f});
    EXPECT_EQ(dir.Read("System/M.txt"), QByteArray("4"));
    EXPECT_EQ(dir.Read("System/M.txt.bak"), QByteArray("an older backup"));
    EXPECT_EQ(dir.Read("System/M.txt.bak2"), QByteArray("1 2 3"));
    EXPECT_EQ(dir.Read("System/Same.txt"), QByteArray("same"));
    EXPECT_EQ(dir.Read("System/Empty.txt"), QByteArray("x"));

    // Written by this run: the next save replaces it without a backup.
    f.Get("M").text = "5";
    formstate::SaveFormSettings(dir.Settings(), {&f});
    EXPECT_EQ(dir.Read("System/M.txt"), QByteArray("5"));
    EXPECT_EQ(dir.Entries().filter("M.txt").size(), 3);  // M.txt, M.txt.bak, M.txt.bak2

    // Loaded by this run: replaced without a backup as well.
    scratch::Dir other;
    other.Write("settings.dat", "[F]\nM.File=M\n");
    other.Write("System/M.txt", "7 8");
    fake::Form g("F");
    g.Add("M", Kind::TMemo);
    formstate::LoadFormSettings(other.Settings(), {&g});
    g.Get("M").text = "7 8 9";
    formstate::SaveFormSettings(other.Settings(), {&g});
    EXPECT_EQ(other.Read("System/M.txt"), QByteArray("7 8 9"));
    EXPECT_FALSE(other.Exists("System/M.txt.bak"));
}

}  // namespace
