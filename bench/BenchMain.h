// What every Qt benchmark binary's main does around its application object: choose Qt's
// offscreen platform unless the caller chose one, then hand the command line to Google
// Benchmark and run what is registered.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

namespace bench {

// Call before the application object is made.
inline void UseOffscreenUnlessChosen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Reads Google Benchmark's flags from the command line (Initialize), so that benchmarks
// registered at run time can see them; call RunRegistered afterwards.
inline void InitializeBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
}

// Runs every registered benchmark; 1 when the command line held an unknown flag.
inline int RunRegistered(int& argc, char** argv) {
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Both steps at once, for binaries whose benchmarks are all registered statically.
inline int RunBenchmarks(int& argc, char** argv) {
    InitializeBenchmarks(argc, argv);
    return RunRegistered(argc, argv);
}

}  // namespace bench
