// The running executable's name and place: the application title that captions every box,
// and the executable's directory (where the settings live when they can be saved there,
// formstate/SettingsDir.h).
#pragma once

#include <QString>

namespace platform {

// The title from an executable's path: the file name, cut at its first full stop, with
// every character after the first in lower case ("/opt/VEXILO.bin" gives "Vexilo").
QString ApplicationTitleFromPath(const QString& executablePath);

// The title of the running program ("Vexilo" for build/bin/Vexilo).
QString ApplicationTitle();

// The running executable's directory, ending with a separator.
QString ExecutableDir();

// True while a ScopedExecutableDir lives.
bool ExecutableDirRedirected();

// Makes ExecutableDir() answer `dir` for this object's lifetime (tests work in a scratch
// directory instead of beside the test binary).
class ScopedExecutableDir {
public:
    explicit ScopedExecutableDir(const QString& dir);
    ~ScopedExecutableDir();
    ScopedExecutableDir(const ScopedExecutableDir&) = delete;
    ScopedExecutableDir& operator=(const ScopedExecutableDir&) = delete;

private:
    QString previous_;
};

}  // namespace platform
