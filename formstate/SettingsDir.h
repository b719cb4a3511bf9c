// Where settings.dat and its side files live. The choice is made once, at start-up, so that
// the restore and the save use the same directory: beside the executable where the files
// there can be saved (a portable folder, the build tree, a folder an administrator prepared
// with files the user may write), otherwise the user's data directory for the program
// (~/.local/share/vexilo, as for the installed package), which the first save creates.
#pragma once

#include <QString>
#include <QStringList>

namespace formstate {

// What start-up finds beside the executable.
struct SettingsDirFacts {
    bool dirWritable = false;        // a new file can be made in the directory
    bool settingsExists = false;     // settings.dat stands there
    bool settingsWritable = false;   // ... and may be written in place
    bool systemExists = false;       // the side files' directory System/ stands there
    bool systemWritable = false;     // ... and new side files can be made in it
    bool sideFilesExist = false;     // at least one file stands below System/
    bool sideFilesWritable = false;  // ... and every file below System/ may be written in place
    // The folder lies under /usr, which belongs to the package manager: the installed
    // program's folder. Nothing there is probed or written, not even by root.
    bool underUsr = false;
};

enum class SettingsPlace { BesideExecutable, UserDataDir };

// The rule. Beside the executable when every file the save writes can be written there:
// settings.dat, when it stands there, may be written in place (a read-only one is never
// replaced, so it sends the files to the user's data directory), and when it is missing the
// directory takes new files; every file below System/ may be written in place, and new
// side files can be made (System/ takes new files, or is missing in a directory that can
// make it, or already holds the side files, as in a prepared folder). Otherwise the user's
// data directory. Nothing is ever moved or copied between the two places. A folder under
// /usr always gives the user's data directory.
SettingsPlace ChooseSettingsPlace(const SettingsDirFacts& facts);

// Looks at the directory `dir` (ending with a separator) as the ordinary user running the
// program: it tries to make a temporary file there and opens the existing files for
// appending, which changes nothing. `sideFiles` are the side files a save writes, relative
// to `dir` (SavedSideFiles()): exactly these are checked. Without them every file below
// System/ is. A folder under /usr is not probed at all.
SettingsDirFacts ProbeSettingsDir(const QString& dir, const QStringList& sideFiles = {});

// The user's data directory for the program, ending with a separator:
// $XDG_DATA_HOME/vexilo/, by default ~/.local/share/vexilo/.
QString UserDataDir();

// The names the store saves under, relative to the settings folder: the settings file, the
// memos' side files' folder and the list boxes' side files' folder. The probe above and the
// save below use these alone.
extern const QString kSettingsFileName;  // "settings.dat"
extern const QString kMemoFolder;        // "System/"
extern const QString kListFolder;        // "System/Settings/"

// Decides the folder of settings.dat and System/ for this run: start-up calls it once,
// before anything restores or saves, and the choice is kept until the program ends.
void DecideSettingsDir();

// The decided folder, ending with a separator (decided now when start-up has not). While a
// platform::ScopedExecutableDir lives (tests), its directory.
QString SettingsDir();

}  // namespace formstate
