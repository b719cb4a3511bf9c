// Helpers of the benchmarks that drive the real main window on Qt's offscreen platform: a
// scratch directory as the executable's directory (settings.dat lives there), a Ui that
// counts message boxes and beeps instead of showing them, number lists, and waiting until
// the window has painted.
#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include "bench/NumberList.h"
#include "platform/core/AppInfo.h"
#include "platform/widgets/Ui.h"
#include "window/MainForm.h"

namespace bench {

// Message boxes and beeps, counted; a message box in a benchmark is a fault of its setup.
class CountingUi : public platform::Ui {
public:
    CountingUi() : scope_(*this) {}
    void ShowMessage(const QString&) override { ++messages; }
    void Beep() override { ++beeps; }
    void ShowErrorBox(const QString&) override { ++messages; }
    int messages = 0;
    int beeps = 0;

private:
    platform::ScopedUi scope_;
};

// A scratch directory standing in for the executable's directory.
struct ScratchDir {
    ScratchDir() : exeDir(dir.path()) {}
    QTemporaryDir dir;
    platform::ScopedExecutableDir exeDir;
};

// Shows `form` and waits until it is on screen and every pending event has run.
inline bool ShowAndSettle(TmainForm& form) {
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return false;
    QCoreApplication::processEvents();
    return true;
}

}  // namespace bench
