#include "platform/core/AppInfo.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {
QString g_dirOverride;
}

QString ApplicationTitleFromPath(const QString& executablePath) {
    QString name = executablePath;
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (slash >= 0) name = name.mid(slash + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0) name.truncate(dot);
    if (name.size() > 1) name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString ApplicationTitle() {
    return ApplicationTitleFromPath(QCoreApplication::applicationFilePath());
}

QString ExecutableDir() {
    if (!g_dirOverride.isEmpty()) return g_dirOverride;
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir;
}

bool ExecutableDirRedirected() {
    return !g_dirOverride.isEmpty();
}

ScopedExecutableDir::ScopedExecutableDir(const QString& dir) : previous_(g_dirOverride) {
    g_dirOverride = dir.endsWith(u'/') ? dir : dir + u'/';
}

ScopedExecutableDir::~ScopedExecutableDir() {
    g_dirOverride = previous_;
}

}  // namespace platform
