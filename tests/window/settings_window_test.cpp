// The store wired into the real main window, in a scratch directory standing in for the
// executable's: what closing writes, what the next start restores, and what a failed save
// leaves behind. Also the mapping of Qt widgets onto the store's kinds.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimeEdit>

#include "chart/Axis.h"
#include "chart/Series.h"
#include "formstate/FormSettings.h"
#include "formstate/IniFile.h"
#include "formstate/QtAdapters.h"
#include "platform/core/TextFile.h"
#include "platform/widgets/Memo.h"
#include "platform/widgets/SpinEdit.h"
#include "tests/formstate/Scratch.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/RecordingUi.h"
#include "window/MainForm.h"

using formstate::Kind;

namespace {

const QByteArray kDesignSettings =
    "[mainForm]\n"
    "Numbers_Memo.File=Numbers_Memo\n"
    "DotsPerPage_SE.Value=100\n"
    "Debug_CheckBox.Checked=0\n";

class MainWindowState : public ::testing::Test {
protected:
    // A main window as the program block makes it; FormCreate is left to the test.
    std::unique_ptr<TmainForm> NewWindow() {
        auto form = std::make_unique<TmainForm>();
        mainForm = form.get();
        return form;
    }
    void TypeNumber(TmainForm& form, const char* number) {
        QTest::keyClicks(form.Numbers_Memo, QLatin1String(number));
        QTest::keyClick(form.Numbers_Memo, Qt::Key_Return);
    }

    scratch::Dir dir;
    testing_support::RecordingUi ui;
};

TEST_F(MainWindowState, ClosingWritesTheThreeKeysAndTheNumberList) {
    auto form = NewWindow();
    form->FormCreate();
    TypeNumber(*form, "5");
    TypeNumber(*form, "12");
    ASSERT_EQ(form->Numbers_Memo->Text(), "5 12 ");
    form->FormClose();
    EXPECT_EQ(dir.Read("settings.dat"), kDesignSettings);
    EXPECT_EQ(dir.Read("System/Numbers_Memo.txt"), QByteArray("5 12 "));
    // The hidden list box makes no System/Settings directory.
    EXPECT_EQ(dir.Entries(), QStringList({"System", "System/Numbers_Memo.txt", "settings.dat"}));

    // Closing again without changes rewrites the same bytes.
    form->FormClose();
    EXPECT_EQ(dir.Read("settings.dat"), kDesignSettings);
    EXPECT_EQ(dir.Read("System/Numbers_Memo.txt"), QByteArray("5 12 "));
}

// The number list goes to disk and comes back with exactly the characters the box holds:
// a no-break space, a line separator U+2028 and a tab are characters of the list like any
// other. Line breaks of the file become the box's own line breaks ("\n"), and so do the
// characters that a text box can only hold as line breaks (U+2029, U+FDD0, U+FDD1).
TEST_F(MainWindowState, TheSideFileComesBackWithTheCharactersTheBoxHolds) {
    struct Case {
        const char* name;
        QString onDisk;
        QString inBox;  // restored, and saved back as UTF-8
    };
    const Case cases[] = {
        {"no-break space and line separator", QStringLiteral("1\u00A02 \u20283"),
         QStringLiteral("1\u00A02 \u20283")},
        {"no-break space alone", QStringLiteral("\u00A0"), QStringLiteral("\u00A0")},
        {"tab", QStringLiteral("1\t2 3"), QStringLiteral("1\t2 3")},
        {"LF", QStringLiteral("1\n2"), QStringLiteral("1\n2")},
        {"CR LF", QStringLiteral("1\r\n2\r\n"), QStringLiteral("1\n2\n")},
        {"lone CR", QStringLiteral("1\r2"), QStringLiteral("1\n2")},
        {"paragraph separator", QStringLiteral("1\u20292"), QStringLiteral("1\n2")},
        {"frame marks", QStringLiteral("1\uFDD02\uFDD13"), QStringLiteral("1\n2\n3")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.Write("settings.dat", kDesignSettings);
        dir.Write("System/Numbers_Memo.txt", c.onDisk.toUtf8());
        auto form = NewWindow();
        // The restore alone: the start-up's redraw would delete entries that are no numbers.
        formstate::LoadFormSettings(dir.Settings());
        EXPECT_EQ(form->Numbers_Memo->Text(), c.inBox);
        EXPECT_EQ(form->Numbers_Memo->TextLength(), c.inBox.size());
        form->FormClose();
        EXPECT_EQ(dir.Read("System/Numbers_Memo.txt"), c.inBox.toUtf8());
        // Restored from what it saved, the box holds the same again.
        auto again = NewWindow();
        formstate::LoadFormSettings(dir.Settings());
        EXPECT_EQ(again->Numbers_Memo->Text(), c.inBox);
    }
}

// A side file whose bytes are not valid text in its encoding is read with U+FFFD in their
// place; before the first save replaces it, its original bytes are kept beside it under the
// backup name, so nothing of it is lost. Valid files get no backup.
TEST_F(MainWindowState, ASideFileThatIsNoValidTextIsKeptBeforeTheFirstSave) {
    struct Case {
        const char* name;
        QByteArray onDisk;
        QString inBox;
        bool backup;
    };
    const Case cases[] = {
        {"byte E9 of another code page", QByteArray("caf\xE9"), QStringLiteral("caf\uFFFD"), true},
        {"UTF-8", QByteArray("caf\xC3\xA9"), QStringLiteral("caf\u00E9"), false},
        {"UTF-8 with its mark",
         QByteArray("\xEF\xBB\xBF"
                    "5 12"),
         QStringLiteral("5 12"), false},
        {"UTF-16 with a lone last byte",
         QByteArray("\xFF\xFE"
                    "5\x00"
                    "1",
                    5),
         QStringLiteral("5\uFFFD"), true},
        {"ASCII", QByteArray("5 12 7"), QStringLiteral("5 12 7"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scratch::Dir dir;  // a file of its own: what a run has seen counts for its path
        dir.Write("settings.dat", kDesignSettings);
        dir.Write("System/Numbers_Memo.txt", c.onDisk);
        auto form = NewWindow();
        formstate::LoadFormSettings(dir.Settings());
        EXPECT_EQ(form->Numbers_Memo->Text(), c.inBox);
        form->FormClose();
        EXPECT_EQ(dir.Read("System/Numbers_Memo.txt.bak"),
                  c.backup ? c.onDisk : QByteArray("<missing>"));
        const QByteArray saved = dir.Read("System/Numbers_Memo.txt");
        EXPECT_EQ(platform::DecodeText(saved).text, c.inBox);
        // Later saves of the same run write over what this run wrote, with no new backup.
        form->FormClose();
        EXPECT_FALSE(dir.Exists("System/Numbers_Memo.txt.bak2"));
    }
}

// A side file that is not valid text, in a prepared folder whose files may be written but
// which takes no new file: its backup cannot stand beside it, so it goes to the user's
// data folder, and the window saves and can close.
TEST_F(MainWindowState, ABackupThatCannotStandBesideGoesToTheDataFolder) {
    using testing_support::perms::rw;
    using testing_support::perms::rwx;
    using testing_support::perms::rx;
    scratch::Dir dir;
    const QByteArray onDisk("caf\xE9 5 12");
    dir.Write("settings.dat", kDesignSettings);
    dir.Write("System/Numbers_Memo.txt", onDisk);
    QTemporaryDir dataHome;
    QFile::setPermissions(dataHome.path(), rwx);
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    auto form = NewWindow();
    formstate::LoadFormSettings(dir.Settings());
    QFile::setPermissions(dir.Path("settings.dat"), rw);
    QFile::setPermissions(dir.Path("System/Numbers_Memo.txt"), rw);
    QFile::setPermissions(dir.Path("System"), rx);
    QFile::setPermissions(dir.Path(""), rx);
    {
        testing_support::ScopedNobody nobody;
        ASSERT_TRUE(nobody.Binding());
        EXPECT_NO_THROW(form->FormClose());
    }
    QFile::setPermissions(dir.Path("System"), rwx);
    QFile::setPermissions(dir.Path(""), rwx);
    qunsetenv("XDG_DATA_HOME");
    EXPECT_FALSE(dir.Exists("System/Numbers_Memo.txt.bak"));
    QFile backup(dataHome.path() + "/vexilo/backups/Numbers_Memo.txt.bak");
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly)) << backup.fileName().toStdString();
    EXPECT_EQ(backup.readAll(), onDisk);
    EXPECT_EQ(platform::DecodeText(dir.Read("System/Numbers_Memo.txt")).text,
              QStringLiteral("caf\uFFFD 5 12"));
}

TEST_F(MainWindowState, APageSizeThatIsNoNumberIsSavedAsItsMinimum) {
    auto form = NewWindow();
    form->DotsPerPage_SE->SetText("1.5");
    form->FormClose();
    EXPECT_EQ(dir.Read("settings.dat"),
              QByteArray("[mainForm]\nNumbers_Memo.File=Numbers_Memo\nDotsPerPage_SE.Value=50\n"
                         "Debug_CheckBox.Checked=0\n"));
}

TEST_F(MainWindowState, TheNextStartRestoresNumbersPageSizeAndCheckBox) {
    {
        auto form = NewWindow();
        form->FormCreate();
        form->Numbers_Memo->SetText("5 12 7");
        form->DotsPerPage_SE->SetValue(100);
        form->Debug_CheckBox->setChecked(true);
        form->FormClose();
    }
    EXPECT_EQ(dir.Read("settings.dat"),
              QByteArray("[mainForm]\nNumbers_Memo.File=Numbers_Memo\nDotsPerPage_SE.Value=100\n"
                         "Debug_CheckBox.Checked=1\n"));
    ui.Clear();
    auto form = NewWindow();
    form->FormCreate();
    EXPECT_EQ(form->Numbers_Memo->Text(), "5 12 7");
    EXPECT_EQ(form->DotsPerPage_SE->Text(), "100");
    EXPECT_TRUE(form->Debug_CheckBox->isChecked());
    EXPECT_EQ(form->Series1->Count(), 3);
    EXPECT_TRUE(ui.events.isEmpty()) << qPrintable(ui.events.join(", "));
}

TEST_F(MainWindowState, AStoredPageSizeWithAnEmptyListShowsTheMessageOnceAtStartUp) {
    dir.Write("settings.dat",
              "[mainForm]\nNumbers_Memo.File=Numbers_Memo\nDotsPerPage_SE.Value=9999\n"
              "Debug_CheckBox.Checked=0\n");
    dir.Write("System/Numbers_Memo.txt", "");
    auto form = NewWindow();
    form->FormCreate();
    // The restored page size (clamped to 5000) fires the change handler's draw with all its
    // messages; the silent first draw afterwards only beeps.
    EXPECT_EQ(ui.events, QStringList({"beep", "message: Не задан список номеров!", "beep"}));
    EXPECT_EQ(form->DotsPerPage_SE->Text(), "5000");
    EXPECT_DOUBLE_EQ(form->BottomAxis().Maximum(), 5000);
}

TEST_F(MainWindowState, NoSettingsFileOrADirectoryOfThatNameRestoresNothing) {
    QDir().mkpath(dir.Settings());
    auto form = NewWindow();
    form->FormCreate();
    EXPECT_EQ(ui.events, QStringList({"beep"}));  // the silent draw of the empty list only
    EXPECT_EQ(form->DotsPerPage_SE->Text(), "100");
    EXPECT_DOUBLE_EQ(form->BottomAxis().Maximum(), 100);
}

TEST_F(MainWindowState, ADirectoryWhereTheSideFileGoesFailsTheCloseAndKeepsTheWindowOpen) {
    dir.Write("settings.dat", "[Other]\nk=1\n" + kDesignSettings);
    QDir().mkpath(dir.Path("System/Numbers_Memo.txt"));
    auto form = NewWindow();
    form->FormCreate();  // the side file is a directory: nothing to load
    form->Numbers_Memo->SetText("5");
    const QString expected = "Cannot create file \"" + dir.Path("System/Numbers_Memo.txt") + "\". ";
    try {
        form->FormClose();
        FAIL() << "no error";
    } catch (const platform::FileCreateError& e) {
        EXPECT_TRUE(e.message().startsWith(expected)) << qPrintable(e.message());
    }
    // The section is rebuilt up to the failing step; the other section and the directory
    // stay as they were, and no file is left half written.
    EXPECT_EQ(dir.Read("settings.dat"),
              QByteArray("[Other]\nk=1\n[mainForm]\nNumbers_Memo.File=Numbers_Memo\n"));
    EXPECT_TRUE(QFileInfo(dir.Path("System/Numbers_Memo.txt")).isDir());
    EXPECT_EQ(dir.Entries(), QStringList({"System", "System/Numbers_Memo.txt", "settings.dat"}));

    // Closing the window shows the error and keeps it open; once the way is clear, the
    // next close saves and closes.
    form->show();
    ui.Clear();
    EXPECT_FALSE(form->close());
    ASSERT_EQ(ui.Errors().size(), 1);
    EXPECT_TRUE(ui.Errors()[0].startsWith(expected));
    EXPECT_TRUE(form->isVisible());
    ASSERT_TRUE(QDir(dir.Path("System/Numbers_Memo.txt")).removeRecursively());
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dir.Read("System/Numbers_Memo.txt"), QByteArray("5"));
    EXPECT_EQ(dir.Read("settings.dat"), "[Other]\nk=1\n" + kDesignSettings);
}

TEST_F(MainWindowState, AFailedWriteLeavesThePreviousFilesIntact) {
    auto form = NewWindow();
    form->FormCreate();
    form->Numbers_Memo->SetText("5 12");
    form->FormClose();
    const QStringList entries = dir.Entries();

    form->Numbers_Memo->SetText("7 8 9");
    form->DotsPerPage_SE->SetValue(300);
    {
        // The disk fills up at the first write: the settings file keeps its old contents.
        platform::ScopedWriteFault full([](const QString&) { return true; });
        try {
            form->FormClose();
            FAIL() << "no error";
        } catch (const formstate::IniWriteError& e) {
            EXPECT_EQ(e.message(), "Unable to write to " + dir.Settings());
        }
    }
    EXPECT_EQ(dir.Read("settings.dat"), kDesignSettings);
    EXPECT_EQ(dir.Read("System/Numbers_Memo.txt"), QByteArray("5 12"));
    EXPECT_EQ(dir.Entries(), entries);
    {
        // It fills up at the side file: the old number list stays whole.
        platform::ScopedWriteFault full(
            [](const QString& path) { return path.endsWith("Numbers_Memo.txt"); });
        EXPECT_THROW(form->FormClose(), platform::FileCreateError);
    }
    EXPECT_EQ(dir.Read("System/Numbers_Memo.txt"), QByteArray("5 12"));
    EXPECT_EQ(dir.Entries(), entries);

    form->FormClose();
    EXPECT_EQ(dir.Read("System/Numbers_Memo.txt"), QByteArray("7 8 9"));
    EXPECT_EQ(dir.Read("settings.dat"),
              QByteArray("[mainForm]\nNumbers_Memo.File=Numbers_Memo\nDotsPerPage_SE.Value=300\n"
                         "Debug_CheckBox.Checked=0\n"));
}

TEST_F(MainWindowState, TheWindowsComponentsMapOntoKinds) {
    auto form = NewWindow();
    const std::pair<const char*, Kind> expected[] = {
        {"GroupBox1", Kind::None},
        {"Label1", Kind::None},
        {"Show_Btn", Kind::None},
        {"Numbers_Memo", Kind::TMemo},
        {"DotsPerPage_SE", Kind::TSpinEdit},
        {"LogGroupBox", Kind::None},
        {"Log", Kind::None},
        {"Debug_CheckBox", Kind::TCheckBox},
        {"ClearLogBitBtn", Kind::None},
        {"SaveLogBitBtn", Kind::None},
        {"UserAgentListBox", Kind::TListBox},
        {"Chart1", Kind::None},
        {"Series1", Kind::None},
        {"Timer1", Kind::None},
    };
    const auto& components = form->Components();
    ASSERT_EQ(components.size(), std::size(expected));
    for (size_t i = 0; i < components.size(); ++i) {
        EXPECT_EQ(components[i].name, expected[i].first);
        EXPECT_EQ(formstate::QtKindOf(components[i].object), expected[i].second)
            << expected[i].first;
    }
    auto visible = [&](QObject* o) { return formstate::MakeQtComponent("x", o)->OwnVisible(); };
    EXPECT_TRUE(visible(form->Numbers_Memo));
    EXPECT_FALSE(visible(form->LogGroupBox));
    EXPECT_TRUE(visible(form->Debug_CheckBox));  // its own flag, though its group is hidden
    EXPECT_FALSE(visible(form->UserAgentListBox));

    // Shown in its hidden group, the list box is saved with its side file.
    form->UserAgentListBox->setVisible(true);
    form->UserAgentListBox->addItems({"agent 1", "agent 2"});
    form->FormClose();
    EXPECT_EQ(dir.Read("settings.dat"),
              kDesignSettings + "UserAgentListBox.File=UserAgentListBox\n");
    EXPECT_EQ(dir.Read("System/Settings/UserAgentListBox.txt"), QByteArray("agent 1\nagent 2\n"));
}

// A window with one widget of every other kind the store maps, registered as a form.
TEST(QtAdapters, OtherWidgetsRoundTripThroughTheirKinds) {
    scratch::Dir dir;
    QWidget window;
    window.setObjectName("OtherForm");
    auto* edit = new QLineEdit("line", &window);
    auto* editable = new QComboBox(&window);
    editable->setEditable(true);
    editable->addItems({"red", "green"});
    editable->setCurrentText("typed");
    auto* dropDown = new QComboBox(&window);
    dropDown->addItems({"a", "b"});
    dropDown->setCurrentIndex(1);
    auto* picker = new QDateTimeEdit(QDateTime(QDate(2024, 2, 1), QTime(13, 14, 15)), &window);
    auto* timeEdit = new QTimeEdit(QTime(8, 0, 0), &window);
    auto* radio = new QRadioButton(&window);
    radio->setAutoExclusive(false);
    radio->setChecked(true);
    auto* spin = new QSpinBox(&window);
    spin->setRange(0, 1000);
    spin->setValue(640);
    auto* dspin = new QDoubleSpinBox(&window);
    dspin->setValue(2.5);
    auto* list = new QListWidget(&window);
    list->addItems({"x", "y"});
    auto* plain = new QPlainTextEdit("one\ntwo", &window);
    auto* rich = new QTextEdit("rich", &window);
    auto* button = new QPushButton("b", &window);
    const std::vector<formstate::NamedObject> components = {
        {"Edit", edit},     {"Editable", editable}, {"DropDown", dropDown}, {"Picker", picker},
        {"Time", timeEdit}, {"Radio", radio},       {"Spin", spin},         {"DSpin", dspin},
        {"List", list},     {"Plain", plain},       {"Rich", rich},         {"Button", button}};
    formstate::RegisterQtForm(&window, [&] { return components; });

    formstate::SaveFormSettings(dir.Settings());
    EXPECT_EQ(dir.Read("settings.dat"), QByteArray("[OtherForm]\n"
                                                   "Edit.Text=line\n"
                                                   "Editable.Items=<*red*><*green*><*]]]\n"
                                                   "Editable.Text=typed\n"
                                                   "DropDown.Items=<*a*><*b*><*]]]\n"
                                                   "DropDown.Text=b\n"
                                                   "Picker.Time=13:14:15\n"
                                                   "Time.Time=08:00:00\n"
                                                   "Radio.Checked=1\n"
                                                   "Spin.Value=640\n"
                                                   "DSpin.FloatValue=2.5\n"
                                                   "List.File=List\n"
                                                   "Plain.File=Plain\n"));
    EXPECT_EQ(dir.Read("System/Plain.txt"), QByteArray("one\ntwo"));
    EXPECT_EQ(dir.Read("System/Settings/List.txt"), QByteArray("x\ny\n"));

    edit->clear();
    editable->clear();
    dropDown->clear();
    dropDown->addItem("c");
    picker->setTime(QTime(1, 2, 3));
    timeEdit->setTime(QTime(0, 0, 0));
    radio->setChecked(false);
    spin->setValue(1);
    dspin->setValue(0);
    list->clear();
    plain->clear();
    formstate::LoadFormSettings(dir.Settings());
    EXPECT_EQ(edit->text(), "line");
    EXPECT_EQ(editable->count(), 2);
    EXPECT_EQ(editable->currentText(), "typed");
    EXPECT_EQ(dropDown->count(), 2);
    EXPECT_EQ(dropDown->currentText(), "b");
    EXPECT_EQ(picker->dateTime(), QDateTime(QDate(2024, 2, 1), QTime(13, 14, 15)));
    EXPECT_EQ(timeEdit->time(), QTime(8, 0, 0));
    EXPECT_TRUE(radio->isChecked());
    EXPECT_EQ(spin->value(), 640);
    EXPECT_DOUBLE_EQ(dspin->value(), 2.5);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "y");
    EXPECT_EQ(plain->toPlainText(), "one\ntwo");
    EXPECT_EQ(rich->toPlainText(), "rich");

    // The encoding a control loaded stays with it for the next save.
    dir.Write("System/Plain.txt", platform::EncodeText(u"Ж", platform::TextEncoding::Utf16LE));
    formstate::LoadFormSettings(dir.Settings());
    EXPECT_EQ(plain->toPlainText(), "Ж");
    formstate::SaveFormSettings(dir.Settings());
    EXPECT_EQ(dir.Read("System/Plain.txt"),
              platform::EncodeText(u"Ж", platform::TextEncoding::Utf16LE));
}

}  // namespace
