// One window per folder: the owner of a folder answers a second start's request to come to
// the front; other folders, a socket left by a killed owner and a missing runtime directory.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <atomic>
#include <cstring>
#include <thread>

#include "platform/core/InstanceLock.h"
#include "platform/widgets/SingleInstance.h"

namespace {

using platform::SingleInstance;

class Instances : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        ASSERT_TRUE(QDir(tmp_.path()).mkpath(QStringLiteral("run")));
        ASSERT_EQ(::chmod(QFile::encodeName(Runtime()).constData(), 0700), 0);
        ASSERT_TRUE(QDir(tmp_.path()).mkpath(QStringLiteral("folder")));
        ASSERT_TRUE(QDir(tmp_.path()).mkpath(QStringLiteral("other")));
        ASSERT_TRUE(QFile::link(Folder(), tmp_.path() + QStringLiteral("/link")));
    }
    QString Runtime() const { return tmp_.path() + QStringLiteral("/run/"); }
    QString Folder() const { return tmp_.path() + QStringLiteral("/folder"); }
    QString Other() const { return tmp_.path() + QStringLiteral("/other/"); }
    QString Link() const { return tmp_.path() + QStringLiteral("/link/"); }

    // Asks from another thread, as another program would, while this thread's event loop
    // lets the owner answer. Returns what the asker got.
    static bool AskWhileOwnerRuns(const SingleInstance& second, int timeoutMs = 5000) {
        std::atomic<bool> done{false};
        bool answered = false;
        std::thread asker([&] {
            answered = second.AskOwnerToRaise(timeoutMs);
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, timeoutMs + 5000));
        asker.join();
        return answered;
    }

    QTemporaryDir tmp_;
};

TEST_F(Instances, SecondStartOnTheSameFolderAsksTheOwnerToComeToTheFront) {
    SingleInstance owner(Folder(), Runtime());
    ASSERT_FALSE(owner.Second());
    QSignalSpy raised(&owner, &SingleInstance::raiseRequested);
    // The same folder, named through a link.
    SingleInstance second(Link(), Runtime());
    ASSERT_TRUE(second.Second());
    EXPECT_TRUE(AskWhileOwnerRuns(second));
    EXPECT_EQ(raised.count(), 1);
    // A third start is answered just the same.
    SingleInstance third(Folder(), Runtime());
    ASSERT_TRUE(third.Second());
    EXPECT_TRUE(AskWhileOwnerRuns(third));
    EXPECT_EQ(raised.count(), 2);
    // Nothing was made in the folders themselves.
    EXPECT_TRUE(QDir(Folder()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(Instances, OtherFoldersRunSideBySide) {
    SingleInstance first(Folder(), Runtime());
    SingleInstance other(Other(), Runtime());
    SingleInstance inside(Folder() + QStringLiteral("/sub"), Runtime());
    EXPECT_FALSE(first.Second());
    EXPECT_FALSE(other.Second());
    EXPECT_FALSE(inside.Second());
    EXPECT_NE(first.SocketPath(), other.SocketPath());
}

TEST_F(Instances, TheOwnersGoingFreesTheFolder) {
    { SingleInstance owner(Folder(), Runtime()); }
    SingleInstance next(Folder(), Runtime());
    EXPECT_FALSE(next.Second());
}

TEST_F(Instances, SocketLeftByAKilledOwnerDoesNotStopTheNextOne) {
    // A killed owner leaves its socket file: bound, then never closed by the program.
    const QString socketPath =
        Runtime() + platform::InstanceKey(Folder()) + QStringLiteral(".sock");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(static_cast<size_t>(encoded.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, encoded.constData(), static_cast<size_t>(encoded.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(socketPath));

    SingleInstance owner(Folder(), Runtime());
    ASSERT_FALSE(owner.Second());
    ASSERT_EQ(owner.SocketPath(), socketPath);
    QSignalSpy raised(&owner, &SingleInstance::raiseRequested);
    SingleInstance second(Folder(), Runtime());
    ASSERT_TRUE(second.Second());
    EXPECT_TRUE(AskWhileOwnerRuns(second));
    EXPECT_EQ(raised.count(), 1);
}

TEST_F(Instances, AnOwnerThatNeverAnswersDoesNotHoldTheSecondStart) {
    // The lock is held but nobody listens (an owner still starting, or one stopped).
    platform::InstanceLock held(Runtime() + platform::InstanceKey(Folder()) +
                                QStringLiteral(".lock"));
    ASSERT_EQ(held.state(), platform::InstanceLock::State::Held);
    SingleInstance second(Folder(), Runtime());
    ASSERT_TRUE(second.Second());
    EXPECT_FALSE(second.AskOwnerToRaise(300));
}

TEST_F(Instances, WithoutARuntimeDirectoryTheProgramRunsUnguarded) {
    const QString missing = tmp_.path() + QStringLiteral("/missing/");
    SingleInstance first(Folder(), missing);
    SingleInstance second(Folder(), missing);
    EXPECT_FALSE(first.Second());
    EXPECT_FALSE(second.Second());
    EXPECT_FALSE(second.AskOwnerToRaise(100));
}

TEST(BringToFront, RestoresAMinimisedWindowAndLeavesAHiddenOneAlone) {
    QWidget shown;
    shown.show();
    shown.setWindowState(Qt::WindowMinimized);
    platform::BringToFront(&shown);
    EXPECT_FALSE(shown.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(shown.isVisible());

    QWidget hidden;
    platform::BringToFront(&hidden);
    EXPECT_FALSE(hidden.isVisible()) << "a window not shown yet was shown early";
    platform::BringToFront(nullptr);
}

}  // namespace
