// A scratch directory that stands in for the executable's directory for one test, with small
// helpers to read and write files in it as bytes.
#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "platform/core/AppInfo.h"

namespace scratch {

class Dir {
public:
    Dir() : exeDir_(tmp_.path() + u'/') {}
    QString Path(const QString& relative) const { return tmp_.path() + u'/' + relative; }
    QString Settings() const { return Path(QStringLiteral("settings.dat")); }

    QByteArray Read(const QString& relative) const {
        QFile f(Path(relative));
        if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
        return f.readAll();
    }
    void Write(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        QFile f(Path(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    bool Exists(const QString& relative) const { return QFileInfo::exists(Path(relative)); }
    // Every entry below the directory, relative, sorted (left-over temporary files show).
    QStringList Entries() const {
        QStringList out;
        QDir root(tmp_.path());
        std::function<void(const QString&)> walk = [&](const QString& rel) {
            QDir d(root.filePath(rel));
            for (const QString& e :
                 d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
                const QString r = rel.isEmpty() ? e : rel + u'/' + e;
                out << r;
                if (QFileInfo(root.filePath(r)).isDir()) walk(r);
            }
        };
        walk(QString());
        return out;
    }

private:
    QTemporaryDir tmp_;
    platform::ScopedExecutableDir exeDir_;
};

}  // namespace scratch
