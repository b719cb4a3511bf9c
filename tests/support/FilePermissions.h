// Makes file permissions bind a test thread even when the tests run as root (as CI runs
// them), so that an unreadable or unwritable file can be set up anywhere.
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <QString>

namespace testing_support {

// Permission sets for a file or folder, the same for owner, group and others.
namespace perms {
using P = QFileDevice;
constexpr P::Permissions r = P::ReadOwner | P::ReadGroup | P::ReadOther;
constexpr P::Permissions rw = r | P::WriteOwner | P::WriteGroup | P::WriteOther;
constexpr P::Permissions rx = r | P::ExeOwner | P::ExeGroup | P::ExeOther;
constexpr P::Permissions rwx = rx | rw;
}  // namespace perms

// While it lives, this thread's file-system user is "nobody" when the tests run as root, so
// that permissions set up beforehand bind it; it opens nothing. Without root it changes
// nothing: the files' permissions already bind the test's own user.
class ScopedNobody {
public:
    ScopedNobody() {
        if (::geteuid() != 0) return;
        ::setfsuid(kNobody);
        active_ = static_cast<uid_t>(::setfsuid(static_cast<uid_t>(-1))) == kNobody;
    }
    ~ScopedNobody() {
        if (active_) ::setfsuid(0);
    }
    ScopedNobody(const ScopedNobody&) = delete;
    ScopedNobody& operator=(const ScopedNobody&) = delete;

    // True when permissions now bind this thread.
    bool Binding() const { return active_ || ::geteuid() != 0; }

private:
    static constexpr uid_t kNobody = 65534;
    bool active_ = false;
};

// While it lives, file permissions apply to this thread even when the tests run as root:
// `dir` and the directories below it are opened to everybody so that the program can still
// work in them, then the thread's file-system user becomes "nobody" (ScopedNobody), which
// drops root's right to read and write anything.
class ScopedFilePermissions {
public:
    explicit ScopedFilePermissions(const QString& dir) : opened_(dir) {}

    // True when permissions now bind this thread (a non-root run, or root turned nobody).
    bool Binding() const { return nobody_.Binding(); }

private:
    // Made before nobody_, so the folders are opened while the thread is still root.
    struct OpenedToEverybody {
        explicit OpenedToEverybody(const QString& dir) {
            if (::geteuid() != 0) return;
            QFile::setPermissions(dir, perms::rwx);
            QDirIterator it(dir, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext())
                QFile::setPermissions(it.next(), perms::rwx);
        }
    };
    OpenedToEverybody opened_;
    ScopedNobody nobody_;
};

}  // namespace testing_support
