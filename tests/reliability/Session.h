// A program session in a scratch directory that stands in for the executable's: the main
// window started as the program block starts it (an exception out of start-up goes to the
// error box and the window still opens), closed as the user closes it, with every message
// box, error box and beep recorded. Also a way to make a file unreadable even for root.
#pragma once

#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <memory>

#include "main/MainForm.h"
#include "platform/Memo.h"
#include "platform/Ui.h"
#include "tests/formstate/Scratch.h"
#include "tests/support/RecordingUi.h"

namespace reliability {

class Session {
public:
    // Creates the window and runs its start-up.
    void Start() {
        form_ = std::make_unique<TmainForm>();
        mainForm = form_.get();
        try {
            form_->FormCreate();
        } catch (const std::exception& e) {
            platform::ShowException(e);  // the rest of start-up is skipped; the window opens
        }
    }
    // Closes the window as the user does; false when it stayed open (the save failed).
    bool Close() { return form_->close(); }
    // Drops the window without saving (the process ends).
    void Quit() {
        form_.reset();
        mainForm = nullptr;
    }
    ~Session() { Quit(); }

    TmainForm& Form() { return *form_; }
    QString Memo() const { return form_->Numbers_Memo->Text(); }

    scratch::Dir dir;
    testing_support::RecordingUi ui;

private:
    std::unique_ptr<TmainForm> form_;
};

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

}  // namespace reliability
