// Start-up of the program as the user waits for it: a process that makes the application
// and the main window, restores settings.dat (from a scratch directory standing in for the
// executable's), runs the start-up handler, shows the window and returns once it is on
// screen and painted. Measured from outside as the child process's processor time (user
// and system), with 100,000 numbers restored beside 10. The child is this binary, run
// with --child DIR; it does what the program's main does, up to the message loop.
//
// Target: 100,000 numbers within 3 x 10 numbers.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchMain.h"
#include "bench/WindowBench.h"
#include "platform/core/AppInfo.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Memo.h"
#include "platform/widgets/Ui.h"
#include "window/MainForm.h"

extern char** environ;

namespace {

std::string self;  // this binary

// The program's start-up, up to the message loop; returns the process's exit code.
int Child(const char* programName, const char* dir) {
    bench::CountingUi ui;
    platform::Application app(programName);
    platform::ScopedExecutableDir exeDir(QString::fromLocal8Bit(dir));
    TmainForm form;
    mainForm = &form;
    try {
        form.FormCreate();
    } catch (const std::exception&) {
        return 3;
    }
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 4;
    QCoreApplication::processEvents();
    mainForm = nullptr;
    return ui.messages == 0 ? 0 : 5;
}

// Runs the child once; its processor time in seconds, or a negative value on failure.
double RunChild(const std::string& dir) {
    std::vector<std::string> args = {self, "--child", dir};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_StartUpProcess(benchmark::State& state) {
    bench::CountingUi ui;
    bench::ScratchDir scratch;
    {
        // settings.dat with the numbers and a page size of 100, as a closed window leaves it.
        TmainForm form;
        mainForm = &form;
        form.Numbers_Memo->setPlainText(bench::NumberList(static_cast<int>(state.range(0))));
        form.FormClose();
        mainForm = nullptr;
    }
    const std::string dir = scratch.dir.path().toStdString();
    for (auto _ : state) {
        const double seconds = RunChild(dir);
        if (seconds < 0) {
            state.SkipWithError("the start-up process failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartUpProcess)
    ->Arg(10)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) return Child(argv[0], argv[2]);
    self = argv[0];
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
