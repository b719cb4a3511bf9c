// Hostile files at start-up: settings.dat and the number list's side file in every shape a
// crash, a disk error, a hand edit or another program can leave them. For each row the
// window opens (with the error box where start-up fails), nothing crashes or hangs, and no
// file is written over in a way that loses its content: the numbers that stood in the side
// file before the run are still on disk after closing, in the side file or in a backup
// beside it, or closing fails with the error box and leaves the files as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <functional>

#include "platform/core/TextFile.h"
#include "platform/widgets/SpinEdit.h"
#include "tests/reliability/Session.h"

namespace {

const QByteArray kNumbers = "1 2 3";
const QByteArray kSettings =
    "[mainForm]\n"
    "Numbers_Memo.File=Numbers_Memo\n"
    "DotsPerPage_SE.Value=300\n"
    "Debug_CheckBox.Checked=0\n";
const QString kSide = QStringLiteral("System/Numbers_Memo.txt");

QByteArray Garbage() {
    QRandomGenerator rng(20240611);
    QByteArray out(64 * 1024, '\0');
    for (char& c : out)
        c = static_cast<char>(rng.bounded(256));
    return out;
}

// About 50 MB: the program's section first, then one other section of many keys.
QByteArray Huge() {
    QByteArray out = kSettings + "[Other]\n";
    const QByteArray line = "key=" + QByteArray(76, 'v') + "\n";
    out.reserve(50 * 1024 * 1024 + line.size());
    while (out.size() < 50 * 1024 * 1024)
        out += line;
    return out;
}

// About 20 MB of valid numbers, single spaces between them. The sanitizer build takes
// 2 MB: the walk's value lists grow in steps of 1000 values, which the sanitizer's
// allocator serves by copying (glibc remaps the pages), so 20 MB of numbers there cost
// minutes of copying that test nothing the normal build does not.
QByteArray ManyNumbers() {
#if defined(__SANITIZE_ADDRESS__)
    const int size = 2 * 1024 * 1024;
#else
    const int size = 20 * 1024 * 1024;
#endif
    QRandomGenerator rng(7);
    QByteArray out;
    out.reserve(size + 8);
    while (out.size() < size) {
        out += QByteArray::number(rng.bounded(1, 37));
        out += ' ';
    }
    out.chop(1);
    return out;
}

bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

// In place of a memo text: the number box holds the whole side file as laid out.
const QByteArray kWholeSideFile = "<the whole side file>";

enum class Open { Normally, WithErrorBox };
enum class Closing { Saves, FailsWithErrorBox };

struct Row {
    const char* name;
    // Lays out the files; the side file holds kNumbers unless the row says otherwise.
    std::function<void(scratch::Dir&)> setup;
    // The number box once the window is open.
    QByteArray memo;
    int pageSize;
    Open open;
    Closing closing;
    bool unreadable = false;  // the row needs file permissions to bind
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

std::vector<Row> Rows() {
    // Large files are made when the row runs, not when the table is built.
    auto withLargeSide = [](QByteArray (*make)()) {
        return [make](scratch::Dir& d) {
            d.Write("settings.dat", make());
            d.Write(kSide, kNumbers);
        };
    };
    auto withSide = [](QByteArray settings) {
        return [settings](scratch::Dir& d) {
            if (!settings.isNull()) d.Write("settings.dat", settings);
            d.Write(kSide, kNumbers);
        };
    };
    return {
        {"normal", withSide(kSettings), kNumbers, 300, Open::Normally, Closing::Saves},
        {"no_settings_file", withSide(QByteArray()), "", 100, Open::Normally, Closing::Saves},
        {"empty", withSide(""), "", 100, Open::Normally, Closing::Saves},
        {"binary_garbage", withLargeSide(Garbage), "", 100, Open::Normally, Closing::Saves},
        {"fifty_megabytes", withLargeSide(Huge), kNumbers, 300, Open::Normally, Closing::Saves},
        {"nul_bytes",
         withSide(QByteArray("[mainForm]\n\0\0\0\nNumbers_Memo.File=Numbers_Memo\n"
                             "DotsPerPage_SE.Value=300\0\n",
                             60)),
         kNumbers, 100, Open::Normally, Closing::Saves},
        {"nul_in_file_name",
         withSide(QByteArray("[mainForm]\nNumbers_Memo.File=Numbers\0_Memo\n", 43)), "", 100,
         Open::Normally, Closing::Saves},
        {"invalid_utf8_in_section",
         withSide("[main\xff\xfe"
                  "Form]\nNumbers_Memo.File=Numbers_Memo\n"),
         "", 100, Open::Normally, Closing::Saves},
        {"invalid_utf8_in_value",
         withSide("[mainForm]\nNumbers_Memo.File=Numbers_Memo\nDotsPerPage_SE.Value=3\xc3\x28\n"),
         kNumbers, 100, Open::Normally, Closing::Saves},
        {"section_without_keys", withSide("[mainForm]\n[Other]\nx=1\n"), "", 100, Open::Normally,
         Closing::Saves},
        {"duplicate_sections_and_keys",
         withSide("[mainForm]\nNumbers_Memo.File=Numbers_Memo\nNumbers_Memo.File=Other\n"
                  "DotsPerPage_SE.Value=700\nDotsPerPage_SE.Value=900\n"
                  "[MAINFORM]\nNumbers_Memo.File=Other\nDotsPerPage_SE.Value=300\n"),
         kNumbers, 700, Open::Normally, Closing::Saves},
        {"key_line_without_equals",
         withSide("[mainForm]\nNumbers_Memo.File\nDotsPerPage_SE.Value 300\n"
                  "Numbers_Memo.File=Numbers_Memo\n"),
         kNumbers, 100, Open::Normally, Closing::Saves},
        {"hundred_kilobyte_values",
         withSide("[mainForm]\nNumbers_Memo.File=" + QByteArray(100 * 1024, 'N') +
                  "\nDotsPerPage_SE.Value=" + QByteArray(100 * 1024, '9') + "\n"),
         "", 100, Open::Normally, Closing::Saves},
        {"list_value_without_end", withSide(kSettings + "UserAgentListBox.Items=<*a*><*b*><*\n"),
         kNumbers, 300, Open::Normally, Closing::Saves},
        {"settings_file_is_a_directory",
         [](scratch::Dir& d) {
             QDir().mkpath(d.Path("settings.dat"));
             d.Write(kSide, kNumbers);
         },
         "", 100, Open::Normally, Closing::FailsWithErrorBox},
        {"side_file_is_a_directory",
         [](scratch::Dir& d) {
             d.Write("settings.dat", kSettings);
             QDir().mkpath(d.Path(kSide));
         },
         "", 300, Open::Normally, Closing::FailsWithErrorBox},
        {"side_file_directory_is_a_file",
         [](scratch::Dir& d) {
             d.Write("settings.dat", kSettings);
             d.Write("System", kNumbers);
         },
         "", 300, Open::Normally, Closing::FailsWithErrorBox},
        {"settings_file_is_a_fifo",
         [](scratch::Dir& d) {
             ASSERT_TRUE(MakeFifo(d.Settings()));
             d.Write(kSide, kNumbers);
         },
         "", 100, Open::Normally, Closing::FailsWithErrorBox},
        {"side_file_is_a_fifo",
         [](scratch::Dir& d) {
             d.Write("settings.dat", kSettings);
             QDir().mkpath(d.Path("System"));
             ASSERT_TRUE(MakeFifo(d.Path(kSide)));
         },
         "", 300, Open::Normally, Closing::Saves},
        {"unreadable_settings_file",
         [](scratch::Dir& d) {
             d.Write("settings.dat", kSettings);
             d.Write(kSide, kNumbers);
             QFile::setPermissions(d.Settings(), QFileDevice::Permissions());
         },
         "", 100, Open::WithErrorBox, Closing::FailsWithErrorBox, true},
        {"unreadable_side_file",
         [](scratch::Dir& d) {
             d.Write("settings.dat", kSettings);
             d.Write(kSide, kNumbers);
             QFile::setPermissions(d.Path(kSide), QFileDevice::Permissions());
         },
         "", 100, Open::WithErrorBox, Closing::Saves, true},
        {"twenty_megabyte_side_file",
         [](scratch::Dir& d) {
             d.Write("settings.dat", kSettings);
             d.Write(kSide, ManyNumbers());
         },
         kWholeSideFile, 300, Open::Normally, Closing::Saves},
    };
}

// Every regular file below System/ with its bytes (the side file and any backup of it).
QList<QByteArray> SystemFiles(const scratch::Dir& dir) {
    QList<QByteArray> out;
    for (const QString& e : dir.Entries())
        if (e.startsWith("System/") && QFileInfo(dir.Path(e)).isFile()) out << dir.Read(e);
    return out;
}

class HostileFiles : public ::testing::TestWithParam<Row> {};

TEST_P(HostileFiles, TheWindowOpensAndNoNumbersAreLost) {
    const Row& row = GetParam();
    reliability::Session s;
    row.setup(s.dir);
    const bool hadNumbers = SystemFiles(s.dir).contains(kNumbers);
    const QByteArray memo = row.memo == kWholeSideFile ? s.dir.Read(kSide) : row.memo;
    const QByteArray settingsBefore =
        QFileInfo(s.dir.Settings()).isFile() ? s.dir.Read("settings.dat") : QByteArray();
    std::unique_ptr<testing_support::ScopedFilePermissions> permissions;
    if (row.unreadable)
        permissions = std::make_unique<testing_support::ScopedFilePermissions>(
            QFileInfo(s.dir.Settings()).absolutePath());
    if (row.unreadable && !permissions->Binding())
        GTEST_SKIP() << "cannot make a file unreadable here (root without setfsuid)";

    s.Start();
    const QString expectedMemo = QString::fromUtf8(memo);
    EXPECT_TRUE(s.Memo() == expectedMemo) << "the number box holds " << s.Memo().size()
                                          << " characters: " << s.Memo().left(60).toStdString();
    EXPECT_EQ(s.Form().DotsPerPage_SE->Value(), row.pageSize);
    EXPECT_EQ(s.ui.Errors().size(), row.open == Open::WithErrorBox ? 1 : 0)
        << s.ui.Errors().join('\n').toStdString();
    s.ui.Clear();

    const QString memoAtClose = s.Memo();
    const bool closed = s.Close();
    permissions.reset();
    EXPECT_EQ(closed, row.closing == Closing::Saves) << s.ui.Errors().join('\n').toStdString();
    if (closed) {
        EXPECT_TRUE(s.ui.Errors().isEmpty()) << s.ui.Errors().join('\n').toStdString();
        EXPECT_TRUE(s.dir.Read(kSide) == memoAtClose.toUtf8()) << "the side file is not the list";
    } else {
        ASSERT_EQ(s.ui.Errors().size(), 1);
        // A settings file that cannot be rewritten is left exactly as it was.
        if (s.ui.Errors()[0].startsWith("Unable to write to") && !settingsBefore.isNull()) {
            EXPECT_TRUE(s.dir.Read("settings.dat") == settingsBefore);
        }
    }
    // Bytes of settings.dat that its text cannot give back are kept in a backup.
    if (closed && !settingsBefore.isNull()) {
        const platform::DecodedText decoded = platform::DecodeText(settingsBefore);
        if (platform::EncodeText(decoded.text, decoded.encoding) != settingsBefore) {
            EXPECT_TRUE(s.dir.Read("settings.dat.bak") == settingsBefore);
        }
    }
    // A file named System, where the side files' directory belongs, is left alone.
    if (row.name == std::string("side_file_directory_is_a_file")) {
        EXPECT_TRUE(s.dir.Read("System") == kNumbers);
    }
    // What the side file held before the run is still on disk.
    if (hadNumbers) {
        EXPECT_TRUE(SystemFiles(s.dir).contains(kNumbers))
            << s.dir.Entries().join(' ').toStdString();
    }
    s.Quit();
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileFiles, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
