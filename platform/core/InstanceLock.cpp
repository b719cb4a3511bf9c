#include "platform/core/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

QString WithSeparator(const QString& dir) {
    return dir.endsWith(u'/') ? dir : dir + u'/';
}

// A runtime directory of `uid`'s that no other user may enter.
bool PrivateDirOf(const QString& dir, uid_t uid) {
    struct stat st = {};
    if (::stat(QFile::encodeName(dir).constData(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == uid && (st.st_mode & 077) == 0;
}

}  // namespace

QString RuntimeDirFrom(const QString& xdgRuntimeDir, const QString& tmp, uid_t uid) {
    if (!xdgRuntimeDir.isEmpty() && QDir::isAbsolutePath(xdgRuntimeDir) &&
        PrivateDirOf(xdgRuntimeDir, uid))
        return WithSeparator(xdgRuntimeDir);
    // The fallback lies in a folder everybody may write to: somebody else may have made
    // it first, or left a link there. It is used only when it is a real directory of
    // this user's with mode 0700.
    const QString fallback = WithSeparator(tmp) + QStringLiteral("vexilo-%1").arg(uid);
    const QByteArray path = QFile::encodeName(fallback);
    if (::mkdir(path.constData(), 0700) == 0)
        ::chmod(path.constData(), 0700);  // whatever the umask took away
    else if (errno != EEXIST)
        return QString();
    struct stat st = {};
    if (::lstat(path.constData(), &st) != 0) return QString();
    if (!S_ISDIR(st.st_mode) || st.st_uid != uid || (st.st_mode & 07777) != 0700) return QString();
    return fallback + u'/';
}

QString RuntimeDir() {
    return RuntimeDirFrom(QFile::decodeName(qgetenv("XDG_RUNTIME_DIR")), QStringLiteral("/tmp"),
                          ::getuid());
}

QString CanonicalFolderPath(const QString& dir) {
    QString existing =
        QDir::cleanPath(QDir::isAbsolutePath(dir) ? dir : QDir::current().absoluteFilePath(dir));
    QString tail;
    // Climb to the nearest folder that exists; "/" always does.
    while (!QFileInfo(existing).exists()) {
        const int cut = existing.lastIndexOf(u'/');
        if (cut < 0) break;
        tail.prepend(existing.mid(cut));
        existing = cut == 0 ? QStringLiteral("/") : existing.left(cut);
    }
    QString canonical = QFileInfo(existing).canonicalFilePath();
    if (canonical.isEmpty()) canonical = existing;
    return QDir::cleanPath(canonical + tail);
}

QString InstanceKey(const QString& dir) {
    const QByteArray hash =
        QCryptographicHash::hash(CanonicalFolderPath(dir).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("vexilo-") + QString::fromLatin1(hash.left(8).toHex());
}

InstanceLock::InstanceLock(const QString& lockFilePath) {
    // O_NOFOLLOW: a link planted under the lock's name is not followed to another file.
    fd_ = ::open(QFile::encodeName(lockFilePath).constData(),
                 O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    int result;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        state_ = State::Held;
    } else if (errno == EWOULDBLOCK) {
        state_ = State::Taken;
    } else {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
    }
}

InstanceLock::~InstanceLock() {
    // Closing the only descriptor releases the lock. The file stays: removing it would let
    // a later start lock a new file while a waiting one locks the removed one.
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
