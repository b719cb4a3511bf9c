// The real main window with automatic saving on: every change reaches the files as a close
// would write them, the close waits for the saver and writes the newest list, and a folder
// that stops taking the files is told once.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <functional>

#include "formstate/AutoSaver.h"
#include "formstate/FormSettings.h"
#include "platform/widgets/Memo.h"
#include "platform/widgets/SpinEdit.h"
#include "tests/formstate/Scratch.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/RecordingUi.h"
#include "window/MainForm.h"

namespace {

class AutoSave : public ::testing::Test {
public:
    void SetUp() override {
        dir = std::make_unique<scratch::Dir>();
        form = std::make_unique<TmainForm>();
        mainForm = form.get();
        form->FormCreate();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ui.Clear();
    }
    void TearDown() override {
        form.reset();
        mainForm = nullptr;
        dir.reset();
    }
    void Type(const char* text) { QTest::keyClicks(form->Numbers_Memo, QLatin1String(text)); }
    void Enter() { QTest::keyClick(form->Numbers_Memo, Qt::Key_Return); }
    // Waits for the saver, then lets a failure report queued to the window run.
    void Settle() {
        form->AutoSaver()->WaitUntilIdle();
        QCoreApplication::processEvents();
    }
    // Every file below the folder with its bytes.
    QStringList Files() const {
        QStringList out;
        for (const QString& e : dir->Entries())
            out << e + " = " + QString::fromUtf8(dir->Read(e));
        return out;
    }

    std::unique_ptr<scratch::Dir> dir;
    testing_support::RecordingUi ui;
    std::unique_ptr<TmainForm> form;
};

TEST_F(AutoSave, NothingIsSavedWhileItIsOff) {
    Type("5 12");
    Enter();
    form->Show_BtnClick();
    form->DotsPerPage_SE->SetValue(300);
    EXPECT_EQ(form->AutoSaver(), nullptr);
    EXPECT_EQ(dir->Entries(), QStringList());
}

TEST_F(AutoSave, EveryChangeIsSavedAsTheCloseSavesIt) {
    struct Case {
        const char* name;
        std::function<void(AutoSave&)> change;
        QByteArray list;  // what the side file then holds
    };
    const Case cases[] = {
        {"Enter",
         [](AutoSave& t) {
             t.Type("5 12 7");
             t.Enter();
         },
         "5 12 7 "},
        {"button",
         [](AutoSave& t) {
             t.form->Numbers_Memo->SetText("5 12 x");
             t.form->Show_Btn->click();
         },
         "5 12 "},
        {"page size", [](AutoSave& t) { t.form->DotsPerPage_SE->SetValue(300); }, ""},
        {"typing, then a pause", [](AutoSave& t) { t.Type("8 9"); }, "8 9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();  // a new window in a new folder
        SetUp();
        form->SetAutoSave(true);
        c.change(*this);
        // The typing case waits for its pause; the others are asked for at once.
        QTRY_VERIFY_WITH_TIMEOUT(form->AutoSaver()->Written() + form->AutoSaver()->Failed() > 0,
                                 20000);
        Settle();
        EXPECT_EQ(form->AutoSaver()->Failed(), 0);
        EXPECT_EQ(dir->Read("System/Numbers_Memo.txt"), c.list);
        const QStringList saved = Files();
        form->FormClose();
        EXPECT_EQ(Files(), saved) << "a close writes the same files with the same bytes";
    }
}

TEST_F(AutoSave, TheCloseWaitsForTheSaverAndWritesTheNewestList) {
    form->SetAutoSave(true);
    QString list;
    for (int i = 1; i <= 20; ++i) {
        const QByteArray n = QByteArray::number(i % 36 + 1);
        Type(n.constData());
        Enter();
        list += QString::fromLatin1(n) + u' ';
    }
    form->DotsPerPage_SE->SetValue(500);  // its redraw takes the trailing space away
    list.chop(1);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(ui.Errors().isEmpty()) << qPrintable(ui.Errors().join('\n'));
    EXPECT_EQ(dir->Read("System/Numbers_Memo.txt"), list.toLatin1());
    EXPECT_TRUE(dir->Read("settings.dat").contains("DotsPerPage_SE.Value=500\n"));
    EXPECT_EQ(dir->Entries(), QStringList({"System", "System/Numbers_Memo.txt", "settings.dat"}));
    // The saver went with the close: nothing it held comes after the close's save, and an
    // Enter cycle still running then (a signal's close during its message box) writes
    // nothing over it.
    EXPECT_EQ(form->AutoSaver(), nullptr);
    Type("9");
    Enter();
    EXPECT_EQ(dir->Read("System/Numbers_Memo.txt"), list.toLatin1());
}

TEST_F(AutoSave, AFolderMadeReadOnlyIsToldOnceAndTheNextEnterAfterItSaves) {
    using namespace testing_support;
    {
        // The saver's thread takes the credentials of the thread that starts it: an
        // ordinary user's, bound by the permissions below.
        ScopedFilePermissions nobody(dir->Path(""));
        ASSERT_TRUE(nobody.Binding());
        form->SetAutoSave(true);
    }
    Type("5");
    Enter();
    Settle();
    ASSERT_EQ(dir->Read("System/Numbers_Memo.txt"), QByteArray("5 "));

    for (const char* file : {"settings.dat", "System/Numbers_Memo.txt"})
        QFile::setPermissions(dir->Path(file), perms::r);
    for (const char* folder : {"System", ""})
        QFile::setPermissions(dir->Path(folder), perms::rx);
    for (const char* n : {"12", "7", "30"}) {
        Type(n);
        Enter();
        Settle();
    }
    ASSERT_EQ(ui.Errors().size(), 1) << qPrintable(ui.events.join('\n'));
    EXPECT_TRUE(ui.Errors()[0].contains(dir->Path("System/Numbers_Memo.txt")))
        << qPrintable(ui.Errors()[0]);
    EXPECT_EQ(dir->Read("System/Numbers_Memo.txt"), QByteArray("5 "));

    for (const char* folder : {"", "System"})
        QFile::setPermissions(dir->Path(folder), perms::rwx);
    for (const char* file : {"settings.dat", "System/Numbers_Memo.txt"})
        QFile::setPermissions(dir->Path(file), perms::rw);
    Type("1");
    Enter();
    Settle();
    EXPECT_EQ(dir->Read("System/Numbers_Memo.txt"), QByteArray("5 12 7 30 1 "));
    EXPECT_EQ(ui.Errors().size(), 1);
}

}  // namespace
