// Makes file permissions bind a test thread even when the tests run as root (as CI runs
// them), so that an unreadable or unwritable file can be set up anywhere.
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <QString>

namespace testing_support {

// While it lives, file permissions apply to this thread even when the tests run as root:
// the thread's file-system user becomes "nobody", which drops root's right to read and
// write anything. `dir` and the directories below it are opened to everybody so that the
// program can still work in them.
class ScopedFilePermissions {
public:
    explicit ScopedFilePermissions(const QString& dir) {
        if (::geteuid() != 0) return;
        const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                         QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                         QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QFile::setPermissions(dir, all);
        QDirIterator it(dir, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            QFile::setPermissions(it.next(), all);
        ::setfsuid(kNobody);
        active_ = static_cast<uid_t>(::setfsuid(static_cast<uid_t>(-1))) == kNobody;
    }
    ~ScopedFilePermissions() {
        if (active_) ::setfsuid(0);
    }
    ScopedFilePermissions(const ScopedFilePermissions&) = delete;
    ScopedFilePermissions& operator=(const ScopedFilePermissions&) = delete;

    // True when permissions now bind this thread (a non-root run, or root turned nobody).
    bool Binding() const { return active_ || ::geteuid() != 0; }

private:
    static constexpr uid_t kNobody = 65534;
    bool active_ = false;
};

// While it lives, this thread's file-system user is "nobody" when the tests run as root, so
// that permissions set up beforehand bind it; unlike ScopedFilePermissions it opens nothing.
// Without root it changes nothing: the files' permissions already bind the test's own user.
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

}  // namespace testing_support
