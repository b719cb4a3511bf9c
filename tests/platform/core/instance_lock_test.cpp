// The folder lock: its name from the folder's canonical path, the runtime directory it lives
// in, and the lock itself, which a killed holder never leaves blocking.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/core/InstanceLock.h"

namespace {

using platform::InstanceKey;
using platform::InstanceLock;

// A scratch tree: real/, real/sub/, link -> real, other/.
class Folders : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("real/sub")));
        ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("other")));
        ASSERT_TRUE(QFile::link(Path("real"), Path("link")));
    }
    QString root() const { return tmp_.path(); }
    QString Path(const char* relative) const { return root() + u'/' + QLatin1String(relative); }

    QTemporaryDir tmp_;
};

TEST_F(Folders, OneFolderNamedManyWaysHasOneKey) {
    const QString key = InstanceKey(Path("real"));
    const struct {
        const char* name;
        const char* path;
    } sameFolder[] = {
        {"trailing separator", "real/"},
        {"through a link", "link"},
        {"through a link, trailing separator", "link/"},
        {"with . and ..", "real/sub/../."},
        {"doubled separators", "other/..//real"},
    };
    for (const auto& c : sameFolder)
        EXPECT_EQ(InstanceKey(Path(c.path)), key) << c.name << ": " << c.path;

    // Relative to the working directory.
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root()));
    EXPECT_EQ(InstanceKey(QStringLiteral("real")), key) << "relative path";
    QDir::setCurrent(cwd);

    // Other folders, the folder's own child among them, get other keys.
    EXPECT_NE(InstanceKey(Path("other")), key);
    EXPECT_NE(InstanceKey(Path("real/sub")), key);
    EXPECT_NE(InstanceKey(Path("link/sub")), key);
    EXPECT_EQ(InstanceKey(Path("link/sub")), InstanceKey(Path("real/sub")));
}

TEST_F(Folders, KeyFitsInASocketPathAndIsPlainText) {
    const QString key = InstanceKey(Path("real"));
    ASSERT_TRUE(key.startsWith(QStringLiteral("vexilo-"))) << key.toStdString();
    const QString digits = key.mid(7);
    EXPECT_EQ(digits.size(), 16) << key.toStdString();
    for (const QChar c : digits)
        EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')) << key.toStdString();
}

TEST_F(Folders, AFolderThatIsMadeLaterKeepsItsKey) {
    // The user's data folder does not exist before the first save; the second start after
    // that save must still find the first one's lock.
    const QString missing = Path("link/data/vexilo/");
    const QString before = InstanceKey(missing);
    EXPECT_EQ(platform::CanonicalFolderPath(missing),
              QFileInfo(Path("real")).canonicalFilePath() + QStringLiteral("/data/vexilo"));
    ASSERT_TRUE(QDir().mkpath(Path("real/data/vexilo")));
    EXPECT_EQ(InstanceKey(missing), before);
    EXPECT_EQ(InstanceKey(Path("real/data/vexilo")), before);
}

// -- the runtime directory -------------------------------------------------------------

TEST_F(Folders, RuntimeDirIsAPrivateFolderOfTheUser) {
    const uid_t me = ::getuid();
    const QString tmp = root();
    const QString fallback = root() + QStringLiteral("/vexilo-%1/").arg(me);
    ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("xdg")));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("xdg")).constData(), 0700), 0);
    ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("open")));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("open")).constData(), 0755), 0);

    const struct {
        const char* name;
        QString xdg;
        QString expected;
    } cases[] = {
        {"private XDG_RUNTIME_DIR", Path("xdg"), Path("xdg") + u'/'},
        {"XDG_RUNTIME_DIR with a separator", Path("xdg") + u'/', Path("xdg") + u'/'},
        {"unset", QString(), fallback},
        {"others may enter it", Path("open"), fallback},
        {"missing", Path("missing"), fallback},
        {"relative", QStringLiteral("xdg"), fallback},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::RuntimeDirFrom(c.xdg, tmp, me), c.expected) << c.name;
        struct stat st = {};
        ASSERT_EQ(::lstat(QFile::encodeName(c.expected).constData(), &st), 0) << c.name;
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << c.name;
        EXPECT_EQ(st.st_mode & 07777, 0700u) << c.name;
    }
    // Another user's XDG_RUNTIME_DIR is not used, nor a fallback this user made.
    EXPECT_EQ(platform::RuntimeDirFrom(Path("xdg"), tmp, me + 1), QString());
}

TEST_F(Folders, FallbackThatSomebodyElsePreparedIsRefused) {
    const uid_t me = ::getuid();
    const QString name = QStringLiteral("vexilo-%1").arg(me);
    const QString fallback = root() + u'/' + name;
    // A link planted under the fallback's name, to a folder of the user's or not.
    ASSERT_TRUE(QFile::link(Path("real"), fallback));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("real")).constData(), 0700), 0);
    EXPECT_EQ(platform::RuntimeDirFrom(QString(), root(), me), QString()) << "a link";
    ASSERT_TRUE(QFile::remove(fallback));
    // A folder that others may enter.
    ASSERT_EQ(::mkdir(QFile::encodeName(fallback).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(fallback).constData(), 0777), 0);
    EXPECT_EQ(platform::RuntimeDirFrom(QString(), root(), me), QString()) << "mode 0777";
    // A private folder of another user's (the rule is asked for another uid).
    ASSERT_EQ(::chmod(QFile::encodeName(fallback).constData(), 0700), 0);
    EXPECT_EQ(platform::RuntimeDirFrom(QString(), root(), me + 1).isEmpty(), true)
        << "somebody else's folder";
    EXPECT_EQ(platform::RuntimeDirFrom(QString(), root(), me), fallback + u'/') << "the user's";
    // A file under the name.
    ASSERT_TRUE(QDir(fallback).removeRecursively());
    QFile file(fallback);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(platform::RuntimeDirFrom(QString(), root(), me), QString()) << "a file";
}

// -- the lock ----------------------------------------------------------------------------

TEST_F(Folders, OneHolderAtATime) {
    const QString path = Path("a.lock");
    {
        InstanceLock first(path);
        EXPECT_EQ(first.state(), InstanceLock::State::Held) << first.Error().toStdString();
        InstanceLock second(path);
        EXPECT_EQ(second.state(), InstanceLock::State::Taken);
        InstanceLock elsewhere(Path("b.lock"));
        EXPECT_EQ(elsewhere.state(), InstanceLock::State::Held);
    }
    InstanceLock after(path);
    EXPECT_EQ(after.state(), InstanceLock::State::Held) << "released when its holder went";
}

TEST_F(Folders, LockThatCannotBeMadeIsUnavailableNotTaken) {
    InstanceLock missingDir(Path("missing/a.lock"));
    EXPECT_EQ(missingDir.state(), InstanceLock::State::Unavailable);
    EXPECT_FALSE(missingDir.Error().isEmpty());
    // A link planted under the lock's name is not followed.
    ASSERT_TRUE(QFile::link(Path("target.lock"), Path("planted.lock")));
    InstanceLock planted(Path("planted.lock"));
    EXPECT_EQ(planted.state(), InstanceLock::State::Unavailable);
    EXPECT_FALSE(QFileInfo::exists(Path("target.lock"))) << "the link was followed";
}

// Kills and reaps a child process that a failed assertion left running.
struct ChildGuard {
    pid_t pid = -1;
    ~ChildGuard() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

TEST_F(Folders, KilledHolderLeavesNoBlockingLock) {
    const QString path = Path("killed.lock");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    ChildGuard guard;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other program: takes the lock, says so, and waits to be killed.
        ::close(ready[0]);
        InstanceLock held(path);
        const char state = held.state() == InstanceLock::State::Held ? 'H' : 'x';
        [[maybe_unused]] const ssize_t n = ::write(ready[1], &state, 1);
        for (;;)
            ::pause();
    }
    guard.pid = child;
    ::close(ready[1]);
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(state, 'H') << "the child could not take the lock";
    {
        InstanceLock whileAlive(path);
        EXPECT_EQ(whileAlive.state(), InstanceLock::State::Taken);
    }
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    guard.pid = -1;
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_TRUE(QFileInfo::exists(path)) << "the killed holder's file stays behind";
    InstanceLock afterKill(path);
    EXPECT_EQ(afterKill.state(), InstanceLock::State::Held);
}

}  // namespace
