// Where settings.dat and the side files live: the rule over what start-up finds beside the
// executable, and what an ordinary user finds in folders that belong to someone else.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "formstate/SettingsDir.h"
#include "tests/support/FilePermissions.h"

namespace {

using formstate::SettingsDirFacts;
using formstate::SettingsPlace;

TEST(SettingsDir, StaysBesideTheExecutableOnlyWhereEveryFileCanBeSaved) {
    struct Case {
        const char* name;
        SettingsDirFacts facts;
        SettingsPlace place;
    };
    const auto beside = SettingsPlace::BesideExecutable;
    const auto data = SettingsPlace::UserDataDir;
    // The facts in the order of SettingsDirFacts, as a string of 0 and 1: dirWritable,
    // settingsExists, settingsWritable, systemExists, systemWritable, sideFilesExist,
    // sideFilesWritable.
    auto facts = [](const char* bits) {
        auto bit = [bits](int i) { return bits[i] == '1'; };
        return SettingsDirFacts{bit(0), bit(1), bit(2), bit(3), bit(4), bit(5), bit(6)};
    };
    const Case cases[] = {
        {"portable folder before the first save", facts("1000000"), beside},
        {"portable folder after a save", facts("1111111"), beside},
        {"writable folder with a read-only settings.dat (never replaced)", facts("1101111"), data},
        {"writable folder with a read-only side file", facts("1111110"), data},
        {"writable folder, empty System/", facts("1111100"), beside},
        {"writable folder, empty read-only System/", facts("1111000"), data},
        {"writable folder, read-only System/ with writable side files", facts("1111011"), beside},
        {"installed package: nothing there, nothing can be made", facts("0000000"), data},
        {"prepared folder: files writable in place", facts("0111011"), beside},
        {"prepared folder with a writable, empty System/", facts("0111100"), beside},
        {"prepared folder without System/", facts("0110000"), data},
        {"prepared folder, read-only settings.dat", facts("0101011"), data},
        {"prepared folder, one read-only side file", facts("0111010"), data},
        {"read-only folder without settings.dat", facts("0001111"), data},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formstate::ChooseSettingsPlace(c.facts), c.place) << c.name;
    // Under /usr (the installed package) the files go to the data folder even where root
    // could write everything.
    for (const char* bits : {"1111111", "1000000", "0111011"}) {
        SettingsDirFacts f = facts(bits);
        f.underUsr = true;
        EXPECT_EQ(formstate::ChooseSettingsPlace(f), data) << bits;
    }
}

// The installed program's folder is not even probed: no temporary file is made there, not
// even by root, who could.
TEST(SettingsDir, AFolderUnderUsrIsNeverProbed) {
    for (const QString& dir : {QStringLiteral("/usr/lib/"), QStringLiteral("/usr/bin/")}) {
        const QStringList before = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden);
        const SettingsDirFacts f = formstate::ProbeSettingsDir(dir, {"System/Numbers_Memo.txt"});
        EXPECT_TRUE(f.underUsr) << dir.toStdString();
        EXPECT_FALSE(f.dirWritable);
        EXPECT_EQ(formstate::ChooseSettingsPlace(f), SettingsPlace::UserDataDir);
        EXPECT_EQ(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden), before);
    }
    EXPECT_FALSE(formstate::ProbeSettingsDir(QDir::tempPath() + "/").underUsr);
}

// Folders made by root and looked at by "nobody", as an administrator's prepared folder and
// an installed program's folder are looked at by the user who runs the program.
TEST(SettingsDir, ProbesAsTheUserWhoRunsTheProgram) {
    using P = QFileDevice;
    using testing_support::perms::r, testing_support::perms::rw;
    using testing_support::perms::rx, testing_support::perms::rwx;
    struct Case {
        const char* name;
        P::Permissions dir;
        P::Permissions settings;  // {}: no settings.dat
        P::Permissions system;    // {}: no System/
        P::Permissions side;      // {}: no side file
        SettingsPlace place;
    };
    const Case cases[] = {
        {"installed program's folder", rx, {}, {}, {}, SettingsPlace::UserDataDir},
        {"prepared folder", rx, rw, rx, rw, SettingsPlace::BesideExecutable},
        {"prepared folder, read-only side file", rx, rw, rx, r, SettingsPlace::UserDataDir},
        {"portable folder, read-only settings.dat", rwx, r, rwx, rw, SettingsPlace::UserDataDir},
        {"portable folder", rwx, {}, {}, {}, SettingsPlace::BesideExecutable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        const QString dir = tmp.path() + QStringLiteral("/exe/");
        QDir().mkpath(dir);
        auto make = [](const QString& path, P::Permissions permissions) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("5 12 7");
            f.close();
            QFile::setPermissions(path, permissions);
        };
        if (c.settings) make(dir + "settings.dat", c.settings);
        if (c.system) {
            QDir().mkpath(dir + "System");
            if (c.side) make(dir + "System/Numbers_Memo.txt", c.side);
            QFile::setPermissions(dir + "System", c.system);
        }
        QFile::setPermissions(dir, c.dir);
        QFile::setPermissions(tmp.path(), rx);
        SettingsDirFacts facts;
        {
            testing_support::ScopedNobody nobody;
            ASSERT_TRUE(nobody.Binding());
            facts = formstate::ProbeSettingsDir(dir, {"System/Numbers_Memo.txt"});
        }
        EXPECT_EQ(formstate::ChooseSettingsPlace(facts), c.place);
        // The probe leaves nothing behind.
        EXPECT_EQ(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  (c.settings ? QStringList{"settings.dat"} : QStringList{}) +
                      (c.system ? QStringList{"System"} : QStringList{}));
        QFile::setPermissions(tmp.path(), rwx);
        QFile::setPermissions(dir, rwx);
        if (c.system) QFile::setPermissions(dir + "System", rwx);
    }
}

// The probe looks at the very files a save writes: a stranger's read-only file in System/
// does not send the numbers away, a missing side file in a System/ that takes no new file
// does.
TEST(SettingsDir, ProbesTheSideFilesTheSaveWrites) {
    using testing_support::perms::r, testing_support::perms::rw;
    using testing_support::perms::rx, testing_support::perms::rwx;
    for (const bool memoThere : {true, false}) {
        SCOPED_TRACE(memoThere ? "side file there" : "side file missing");
        QTemporaryDir tmp;
        const QString dir = tmp.path() + "/";
        QDir().mkpath(dir + "System");
        auto make = [](const QString& path, QFileDevice::Permissions p) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("5 12");
            f.close();
            QFile::setPermissions(path, p);
        };
        make(dir + "settings.dat", rw);
        make(dir + "System/notes.txt", r);
        if (memoThere) make(dir + "System/Numbers_Memo.txt", rw);
        QFile::setPermissions(dir + "System", rx);
        QFile::setPermissions(dir, rx);
        SettingsDirFacts facts;
        {
            testing_support::ScopedNobody nobody;
            ASSERT_TRUE(nobody.Binding());
            facts = formstate::ProbeSettingsDir(dir, {"System/Numbers_Memo.txt"});
        }
        EXPECT_EQ(formstate::ChooseSettingsPlace(facts),
                  memoThere ? SettingsPlace::BesideExecutable : SettingsPlace::UserDataDir);
        QFile::setPermissions(dir, rwx);
        QFile::setPermissions(dir + "System", rwx);
    }
}

TEST(SettingsDir, UserDataDirIsTheProgramsFolderInTheDataHome) {
    qputenv("XDG_DATA_HOME", "/tmp/vexilo-data-home");
    EXPECT_EQ(formstate::UserDataDir(), "/tmp/vexilo-data-home/vexilo/");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(formstate::UserDataDir(), QDir::homePath() + "/.local/share/vexilo/");
}

}  // namespace
