// The process's memory as the kernel counts it: a line of /proc/self/status in MiB, and the
// peak-memory benchmark that reads it.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QList>

namespace bench {

// A line of /proc/self/status such as "VmHWM:  123456 kB", in MiB; 0 when absent.
inline double StatusMiB(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (!line.startsWith(key)) continue;
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() >= 2) return parts[1].toDouble() / 1024.0;
    }
    return 0;
}

// Runs `hold` (which builds what is measured, fills it and lets it paint) inside the
// benchmark's loop and records the process's peak resident size before and after, as the
// counters VmHWM_before_MiB and VmHWM_MiB. Register such a benchmark with Iterations(1) and
// Repetitions(1): the peak of a process only grows, so repetitions would add nothing, and
// each figure needs a binary of its own so that no other benchmark's peak counts.
template <typename Hold>
void MeasurePeakMemory(benchmark::State& state, Hold hold) {
    const double before = StatusMiB("VmHWM:");
    for (auto _ : state)
        hold();
    state.counters["VmHWM_MiB"] = StatusMiB("VmHWM:");
    state.counters["VmHWM_before_MiB"] = before;
}

}  // namespace bench
