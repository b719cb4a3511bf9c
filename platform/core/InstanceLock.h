// The lock that lets one running program own a folder. It lives in the user's runtime
// directory (never in the folder itself, which may take no new files) under a name made
// from the folder's canonical path, so that every way of naming the folder (a link, a
// relative path, "..") finds the same lock. The lock is flock() on a file: the kernel
// releases it when its process ends, however it ends, so a killed program leaves no lock
// that could block the next start.
#pragma once

#include <sys/types.h>

#include <QString>

namespace platform {

// The user's runtime directory, ending with a separator: $XDG_RUNTIME_DIR when it is a
// directory that belongs to this user and that nobody else may enter; otherwise the
// private folder /tmp/vexilo-<uid>/, made with mode 0700 when it is missing and used only
// when it is a real directory (not a link) of this user's with that mode. Empty when
// neither can be had.
QString RuntimeDir();
// The same rule with its inputs given: `xdgRuntimeDir` as the environment has it (empty
// when unset), `tmp` the folder for the fallback, `uid` the user.
QString RuntimeDirFrom(const QString& xdgRuntimeDir, const QString& tmp, uid_t uid);

// `dir`'s canonical path: links resolved, no "." or "..", no trailing separator. A folder
// that does not exist yet (the user's data folder before its first save) keeps its missing
// tail after the canonical path of its nearest existing parent, so that it gets the same
// answer before and after it is made.
QString CanonicalFolderPath(const QString& dir);

// The name the lock and the socket of folder `dir` share: "vexilo-" and 16 hexadecimal
// digits of the SHA-256 of its canonical path. Short, because a socket's whole path must
// fit in 107 bytes.
QString InstanceKey(const QString& dir);

// An exclusive flock() on one file, taken without waiting. Released when this object goes
// or the process ends.
class InstanceLock {
public:
    enum class State {
        Held,        // this process holds the lock
        Taken,       // another process holds it
        Unavailable  // the lock file cannot be made or opened (the reason in Error())
    };

    explicit InstanceLock(const QString& lockFilePath);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return state_; }
    QString Error() const { return error_; }

private:
    int fd_ = -1;
    State state_ = State::Unavailable;
    QString error_;
};

}  // namespace platform
