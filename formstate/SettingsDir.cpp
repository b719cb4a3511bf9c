#include "formstate/SettingsDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "formstate/FormSettings.h"
#include "platform/core/AppInfo.h"

namespace formstate {

const QString kSettingsFileName = QStringLiteral("settings.dat");
const QString kMemoFolder = QStringLiteral("System/");
const QString kListFolder = QStringLiteral("System/Settings/");

namespace {

// Opening for appending writes nothing; it only asks whether writing is allowed. Only
// regular files are opened (opening a named pipe for writing waits for a reader).
bool WritableInPlace(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

bool TakesNewFiles(const QString& dir) {
    QTemporaryFile probe(dir + QStringLiteral(".vexilo-probe-XXXXXX"));
    return probe.open();  // removed again when `probe` goes
}

}  // namespace

SettingsPlace ChooseSettingsPlace(const SettingsDirFacts& f) {
    if (f.underUsr) return SettingsPlace::UserDataDir;
    // A file that stands there must be writable in place; a missing one must be creatable.
    const bool settings = f.settingsExists ? f.settingsWritable : f.dirWritable;
    const bool sideFiles =
        (f.systemExists ? f.sideFilesExist || f.systemWritable : f.dirWritable) &&
        (!f.sideFilesExist || f.sideFilesWritable);
    return settings && sideFiles ? SettingsPlace::BesideExecutable : SettingsPlace::UserDataDir;
}

bool UnderUsr(const QString& dir) {
    QString canonical = QFileInfo(dir).canonicalFilePath();
    if (canonical.isEmpty()) canonical = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    return canonical == QStringLiteral("/usr") || canonical.startsWith(QStringLiteral("/usr/"));
}

SettingsDirFacts ProbeSettingsDir(const QString& dir, const QStringList& sideFiles) {
    SettingsDirFacts f;
    // The package manager's tree is never written, not even probed by a temporary file.
    f.underUsr = UnderUsr(dir);
    if (f.underUsr) return f;
    f.dirWritable = TakesNewFiles(dir);
    const QString settings = dir + kSettingsFileName;
    f.settingsExists = QFileInfo(settings).isFile();
    f.settingsWritable = f.settingsExists && WritableInPlace(settings);
    const QString system = dir + kMemoFolder;
    f.systemExists = QFileInfo(system).isDir();
    if (!f.systemExists) return f;
    f.systemWritable = TakesNewFiles(system);
    if (sideFiles.isEmpty()) {
        // No list of the files a save writes: every file below System/ counts.
        f.sideFilesWritable = true;
        QDirIterator it(system, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            f.sideFilesExist = true;
            if (!WritableInPlace(it.next())) f.sideFilesWritable = false;
        }
        if (!f.sideFilesExist) f.sideFilesWritable = false;
        return f;
    }
    // The very side files the save writes: all of them there and writable in place, or
    // some missing, to be made in a folder that takes new files.
    f.sideFilesExist = true;
    f.sideFilesWritable = true;
    for (const QString& side : sideFiles) {
        const QString path = dir + side;
        if (!QFileInfo(path).isFile()) {
            f.sideFilesExist = false;
            if (!QFileInfo(QFileInfo(path).absolutePath()).isDir() ||
                !TakesNewFiles(QFileInfo(path).absolutePath() + u'/'))
                f.systemWritable = false;
        } else if (!WritableInPlace(path)) {
            f.sideFilesWritable = false;
        }
    }
    // One read-only file of the list sends the files elsewhere however the rest stand.
    if (!f.sideFilesWritable) f.sideFilesExist = true;
    return f;
}

QString UserDataDir() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/vexilo/");
}

namespace {
QString& Decided() {
    static QString decided;
    return decided;
}
}  // namespace

void DecideSettingsDir() {
    if (!Decided().isEmpty()) return;
    const QString exeDir = platform::ExecutableDir();
    Decided() = ChooseSettingsPlace(ProbeSettingsDir(exeDir, SavedSideFiles())) ==
                        SettingsPlace::BesideExecutable
                    ? exeDir
                    : UserDataDir();
}

QString SettingsDir() {
    if (platform::ExecutableDirRedirected()) return platform::ExecutableDir();
    DecideSettingsDir();
    return Decided();
}

}  // namespace formstate
