// The process's memory as the kernel counts it: a line of /proc/self/status in MiB.
#pragma once

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

}  // namespace bench
