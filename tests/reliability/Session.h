// A program session in a scratch directory that stands in for the executable's: the main
// window started as the program block starts it (an exception out of start-up goes to the
// error box and the window still opens), closed as the user closes it, with every message
// box, error box and beep recorded.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <memory>

#include "platform/widgets/Memo.h"
#include "platform/widgets/Ui.h"
#include "tests/formstate/Scratch.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/RecordingUi.h"
#include "window/MainForm.h"

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

}  // namespace reliability
