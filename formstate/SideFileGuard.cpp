#include "formstate/SideFileGuard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>
#include <set>

#include "platform/core/TextFile.h"

namespace formstate {

namespace {

// Absolute paths of the side files whose content this run has seen. The automatic save
// notes them on its worker thread, the restore and the close on the window's.
std::mutex& KnownMutex() {
    static std::mutex mutex;
    return mutex;
}

std::set<QString>& Known() {
    static std::set<QString> known;
    return known;
}

bool IsKnown(const QString& key) {
    std::lock_guard<std::mutex> lock(KnownMutex());
    return Known().count(key) != 0;
}

QString Key(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

// True when the file's bytes are already `bytes`, or it holds nothing worth keeping.
bool NothingToLose(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;  // unreadable: keep it
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    return old.isEmpty() || old == bytes;
}

}  // namespace

QString FreeBackupName(const QString& path) {
    QString backup = path + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(backup) || QFileInfo(backup).isSymLink(); ++n)
        backup = path + QStringLiteral(".bak") + QString::number(n);
    return backup;
}

void NoteSideFileKnown(const QString& path) {
    const QString key = Key(path);
    std::lock_guard<std::mutex> lock(KnownMutex());
    Known().insert(key);
}

void KeepUnknownSideFile(const QString& path, const QByteArray& bytes,
                         const QString& fallbackFolder) {
    const QFileInfo info(path);
    if (!info.isFile() || IsKnown(Key(path))) return;
    if (NothingToLose(path, bytes)) return;
    const QString backup = FreeBackupName(path);
    QFile file(path);
    if (file.rename(backup)) return;
    const QString reason = file.errorString();
    // A folder that takes no new files (a prepared folder) cannot hold the backup: it is
    // copied into the fallback folder instead, and the file is then written in place.
    if (!fallbackFolder.isEmpty() && QDir().mkpath(fallbackFolder)) {
        const QString elsewhere = FreeBackupName(QDir(fallbackFolder).filePath(info.fileName()));
        if (QFile::copy(path, elsewhere)) return;
    }
    throw platform::FileCreateError(
        path, QStringLiteral("The earlier file could not be kept as %1: %2").arg(backup, reason));
}

}  // namespace formstate
