// The automatic save: a copy of the forms saves the very bytes the forms themselves do; the
// saver's worker writes them in order, lets a newer save replace one still waiting, tells a
// failure once until a save succeeds again, and lets a close wait for it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <future>
#include <mutex>

#include "formstate/AutoSaver.h"
#include "formstate/FormSettings.h"
#include "formstate/FormSnapshot.h"
#include "tests/formstate/FakeComponents.h"
#include "tests/formstate/Scratch.h"
#include "tests/support/FilePermissions.h"

using formstate::AutoSaver;
using formstate::FormsSnapshot;
using formstate::Kind;

namespace {

// A form with one visible component of every kind, one hidden, and a list box.
void FillEveryKind(fake::Form& f) {
    f.Add("M", Kind::TsMemo).text = "5 12 7";
    f.Get("M").encoding = platform::TextEncoding::Utf16LE;
    f.Add("DE", Kind::TsDateEdit).text = "01.02.2024";
    f.Add("P", Kind::TDateTimePicker).time = QTime(13, 14, 15);
    f.Add("E", Kind::TEdit).text = " e ";
    f.Add("CE", Kind::TsCurrencyEdit).text = "1.5";
    f.Add("LE", Kind::TLabeledEdit).text = "le";
    auto& cb = f.Add("CB", Kind::TComboBox);
    cb.items = {"a", "b"};
    cb.text = "t";
    f.Add("C", Kind::TCheckBox).checked = true;
    f.Add("SR", Kind::TsRadioButton).checked = true;
    f.Add("RG", Kind::TRadioGroup).itemIndex = 2;
    f.Add("S", Kind::TSpinEdit).value = 300;
    auto& ss = f.Add("SS", Kind::TsSpinEdit);
    ss.text = "5000000000";
    ss.value = 5000000000LL;
    f.Add("PN", Kind::TPanel).color = static_cast<int32_t>(0xFF00000Fu);
    f.Add("A", Kind::TAdvSpinEdit).floatValue = 2.5;
    f.Add("LB", Kind::TsListBox).items = {"x", "y"};
    auto& cl = f.Add("CL", Kind::TCheckListBox);
    cl.items = {"A", "B"};
    cl.checks = {true, false};
    auto& hidden = f.Add("H", Kind::TEdit);
    hidden.text = "hidden";
    hidden.visible = false;
}

// The memo "M" of form "F" holding `text`, saved by the saver; waits until it is written.
struct Saving {
    explicit Saving(std::function<void(const QString&)> onFailure = {})
        : saver([this, onFailure](const QString& m) {
              reports << m;
              if (onFailure) onFailure(m);
          }) {
        form.Add("M", Kind::TMemo);
        form.Add("S", Kind::TSpinEdit).value = 100;
    }
    void Save(const QString& text) {
        form.Get("M").text = text;
        saver.Save(dir.Settings(), FormsSnapshot::Take({&form}));
    }
    // Waits for the worker, then lets the failure report (queued to this thread) run.
    void Settle() {
        saver.WaitUntilIdle();
        QCoreApplication::processEvents();
    }

    scratch::Dir dir;
    fake::Form form{"F"};
    QStringList reports;
    AutoSaver saver;
};

// Holds the worker inside the write of the memo's side file until released; every other
// write passes. Counts the writes it saw.
class Gate {
public:
    Gate()
        : fault_([this](const QString& path) {
              if (!path.endsWith(QStringLiteral("M.txt"))) return false;
              std::unique_lock<std::mutex> lock(mutex_);
              ++entered_;
              changed_.notify_all();
              changed_.wait(lock, [this] { return open_; });
              return false;
          }) {}
    ~Gate() { Open(); }
    void WaitUntilHeld(int count) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return entered_ >= count; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    int Entered() {
        std::lock_guard<std::mutex> lock(mutex_);
        return entered_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int entered_ = 0;
    bool open_ = false;
    platform::ScopedWriteFault fault_;
};

TEST(FormsSnapshot, SavesTheSameBytesAsTheFormsItWasTakenFrom) {
    fake::Form live("F");
    FillEveryKind(live);
    scratch::Dir direct;
    formstate::SaveFormSettings(direct.Settings(), {&live});

    const FormsSnapshot snapshot = FormsSnapshot::Take({&live});
    // Changes after the copy are not in it.
    live.Get("M").text = "changed";
    live.Get("S").value = 50;
    live.Get("H").visible = true;
    scratch::Dir copied;
    formstate::SaveFormSettings(copied.Settings(), snapshot.Forms());

    ASSERT_EQ(copied.Entries(), direct.Entries());
    for (const QString& file : direct.Entries()) {
        if (QFileInfo(direct.Path(file)).isDir()) continue;
        EXPECT_EQ(copied.Read(file), direct.Read(file)) << qPrintable(file);
    }
    EXPECT_EQ(copied.Read("System/M.txt"),
              platform::EncodeText(QStringLiteral("5 12 7"), platform::TextEncoding::Utf16LE));
}

TEST(AutoSaver, WritesWhatAFormSaveWrites) {
    Saving s;
    s.Save("5 12 7");
    s.Settle();
    const QByteArray settings = s.dir.Read("settings.dat");
    const QByteArray memo = s.dir.Read("System/M.txt");
    EXPECT_EQ(memo, QByteArray("5 12 7"));
    formstate::SaveFormSettings(s.dir.Settings(), {&s.form});
    EXPECT_EQ(s.dir.Read("settings.dat"), settings);
    EXPECT_EQ(s.dir.Read("System/M.txt"), memo);
    EXPECT_EQ(s.dir.Entries(), QStringList({"System", "System/M.txt", "settings.dat"}));
    EXPECT_EQ(s.saver.Written(), 1);
    EXPECT_TRUE(s.reports.isEmpty());
}

TEST(AutoSaver, ANewerSaveReplacesTheOneStillWaiting) {
    Saving s;
    Gate gate;
    s.Save("1");
    gate.WaitUntilHeld(1);  // "1" is being written
    s.Save("1 2");
    s.Save("1 2 3");
    s.Save("1 2 3 4");
    gate.Open();
    s.Settle();
    EXPECT_EQ(gate.Entered(), 2) << "the two saves in between were never written";
    EXPECT_EQ(s.saver.Written(), 2);
    EXPECT_EQ(s.dir.Read("System/M.txt"), QByteArray("1 2 3 4"));
}

TEST(AutoSaver, TheFilesNeverGoBackToAnOlderList) {
    // Every write of the side file sees on disk what the save before it wrote: a list never
    // shorter than the one before.
    std::mutex mutex;
    std::vector<int> seen;
    Saving s;
    platform::ScopedWriteFault watch([&](const QString& path) {
        if (path.endsWith(QStringLiteral("M.txt"))) {
            QFile f(path);
            const int n = f.open(QIODevice::ReadOnly) ? f.readAll().count(' ') : -1;
            std::lock_guard<std::mutex> lock(mutex);
            seen.push_back(n);
        }
        return false;
    });
    QString list = QStringLiteral("0");
    for (int i = 1; i <= 300; ++i) {
        list += QStringLiteral(" %1").arg(i % 36 + 1);
        s.Save(list);
    }
    s.Settle();
    EXPECT_EQ(s.dir.Read("System/M.txt"), list.toUtf8());
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_FALSE(seen.empty());
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_LT(seen[i - 1], seen[i]) << "write " << i;
}

TEST(AutoSaver, AFailureIsToldOnceAndTheNextSuccessEndsIt) {
    Saving s;
    {
        platform::ScopedWriteFault full([](const QString& path) { return path.endsWith("M.txt"); });
        for (const char* list : {"5", "5 12", "5 12 7"}) {
            s.Save(list);
            s.Settle();
        }
        EXPECT_TRUE(s.saver.Failing());
    }
    ASSERT_EQ(s.reports.size(), 1) << qPrintable(s.reports.join('\n'));
    EXPECT_TRUE(s.reports[0].contains(s.dir.Path("System/M.txt"))) << qPrintable(s.reports[0]);
    EXPECT_TRUE(s.reports[0].contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
        << qPrintable(s.reports[0]);
    EXPECT_EQ(s.saver.Failed(), 3);

    s.Save("5 12 7 1");
    s.Settle();
    EXPECT_FALSE(s.saver.Failing());
    EXPECT_EQ(s.dir.Read("System/M.txt"), QByteArray("5 12 7 1"));

    // A new failure after the success is a new one, and is told again.
    {
        platform::ScopedWriteFault full([](const QString& path) { return path.endsWith(".dat"); });
        s.form.Get("S").value = 300;
        s.Save("5 12 7 1 9");
        s.Settle();
    }
    ASSERT_EQ(s.reports.size(), 2);
    EXPECT_TRUE(s.reports[1].startsWith("Unable to write to " + s.dir.Settings() + ": "))
        << qPrintable(s.reports[1]);
    EXPECT_EQ(s.dir.Read("System/M.txt"), QByteArray("5 12 7 1"));
}

TEST(AutoSaver, FlushDropsTheWaitingSaveAndWaitsForTheOneBeingWritten) {
    Saving s;
    Gate gate;
    s.Save("1");
    gate.WaitUntilHeld(1);
    s.Save("1 2");  // waiting: the caller of Flush saves the newest state itself
    std::atomic<bool> flushed{false};
    auto flush = std::async(std::launch::async, [&] {
        s.saver.Flush();
        flushed = true;
    });
    EXPECT_EQ(flush.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    EXPECT_FALSE(flushed) << "Flush returned while a save was being written";
    gate.Open();
    flush.get();
    EXPECT_EQ(s.dir.Read("System/M.txt"), QByteArray("1"));
    s.Settle();
    EXPECT_EQ(s.saver.Written(), 1);
    EXPECT_EQ(gate.Entered(), 1);
}

TEST(AutoSaver, AFolderMadeReadOnlyFailsOnceAsAnOrdinaryUser) {
    using namespace testing_support;
    std::unique_ptr<Saving> s;
    {
        // The worker thread takes the credentials of the thread that starts it: nobody,
        // who also owns the scratch folder made here.
        ScopedNobody nobody;
        ASSERT_TRUE(nobody.Binding());
        s = std::make_unique<Saving>();
    }
    s->Save("5");
    s->Settle();
    ASSERT_EQ(s->dir.Read("System/M.txt"), QByteArray("5"));

    // Read-only: the folder, System/ and the files in them.
    for (const char* file : {"settings.dat", "System/M.txt"})
        QFile::setPermissions(s->dir.Path(file), perms::r);
    for (const char* folder : {"System", ""})
        QFile::setPermissions(s->dir.Path(folder), perms::rx);
    for (const char* list : {"5 12", "5 12 7", "5 12 7 1"}) {
        s->Save(list);
        s->Settle();
    }
    ASSERT_EQ(s->reports.size(), 1) << qPrintable(s->reports.join('\n'));
    // The file and the system's reason (in the user's language) after it.
    const QString prefix = "Cannot create file \"" + s->dir.Path("System/M.txt") + "\". ";
    EXPECT_TRUE(s->reports[0].startsWith(prefix)) << qPrintable(s->reports[0]);
    EXPECT_GT(s->reports[0].size(), prefix.size() + 3) << qPrintable(s->reports[0]);
    EXPECT_EQ(s->dir.Read("System/M.txt"), QByteArray("5"));

    for (const char* folder : {"", "System"})
        QFile::setPermissions(s->dir.Path(folder), perms::rwx);
    for (const char* file : {"settings.dat", "System/M.txt"})
        QFile::setPermissions(s->dir.Path(file), perms::rw);
    s->Save("5 12 7 1 9");
    s->Settle();
    EXPECT_FALSE(s->saver.Failing());
    EXPECT_EQ(s->dir.Read("System/M.txt"), QByteArray("5 12 7 1 9"));
    EXPECT_EQ(s->reports.size(), 1);
}

}  // namespace
