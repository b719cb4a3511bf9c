// Unix signals reported as Qt signals through the self-pipe.
#include <gtest/gtest.h>
#include <signal.h>

#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include "platform/core/SignalPipe.h"

namespace {

using platform::SignalPipe;

std::vector<int> Reported(const QSignalSpy& spy) {
    std::vector<int> out;
    for (const QList<QVariant>& args : spy)
        out.push_back(args.at(0).toInt());
    return out;
}

// Sets one signal's handling for this object's lifetime.
class ScopedDisposition {
public:
    ScopedDisposition(int signal, void (*handler)(int)) : signal_(signal) {
        struct sigaction action = {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, &previous_);
    }
    ~ScopedDisposition() { ::sigaction(signal_, &previous_, nullptr); }

private:
    int signal_;
    struct sigaction previous_ = {};
};

TEST(SignalPipe, EachTerminationSignalIsReportedInsteadOfEndingTheProgram) {
    // Without the pipe's handlers each of these would end the test binary, whatever way
    // the binary was started.
    const ScopedDisposition term(SIGTERM, SIG_DFL), interrupt(SIGINT, SIG_DFL),
        hangup(SIGHUP, SIG_DFL);
    SignalPipe pipe(platform::TerminationSignals());
    QSignalSpy spy(&pipe, &SignalPipe::received);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        spy.clear();
        ASSERT_EQ(::raise(signal), 0);
        ASSERT_TRUE(spy.wait(5000)) << "signal " << signal << " was not reported";
        QTest::qWait(20);  // a doubled report would come now
        EXPECT_EQ(Reported(spy), std::vector<int>{signal});
    }
}

TEST(SignalPipe, SignalsWhileDisabledWaitUntilEnabled) {
    SignalPipe pipe({SIGUSR1, SIGUSR2});
    QSignalSpy spy(&pipe, &SignalPipe::received);
    pipe.SetEnabled(false);
    ::raise(SIGUSR1);
    ::raise(SIGUSR2);
    ::raise(SIGUSR1);
    QTest::qWait(100);
    EXPECT_EQ(spy.count(), 0) << "reported while held back";
    pipe.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spy.count() >= 3; }, 5000));
    EXPECT_EQ(Reported(spy), (std::vector<int>{SIGUSR1, SIGUSR2, SIGUSR1}));
}

TEST(SignalPipe, ASignalIgnoredAtStartStaysIgnored) {
    // As under nohup: SIGHUP is ignored before the pipe is made.
    const ScopedDisposition hangup(SIGHUP, SIG_IGN);
    SignalPipe pipe(platform::TerminationSignals());
    QSignalSpy spy(&pipe, &SignalPipe::received);
    ::raise(SIGHUP);
    ::raise(SIGTERM);
    ASSERT_TRUE(spy.wait(5000));
    QTest::qWait(50);
    EXPECT_EQ(Reported(spy), std::vector<int>{SIGTERM});
    struct sigaction during = {};
    ::sigaction(SIGHUP, nullptr, &during);
    EXPECT_EQ(during.sa_handler, SIG_IGN);
}

void RecordingHandler(int) {}

TEST(SignalPipe, GivesBackTheHandlersItReplacedAndAllowsOneAtATime) {
    struct sigaction mine = {};
    mine.sa_handler = RecordingHandler;
    sigemptyset(&mine.sa_mask);
    struct sigaction original = {};
    ASSERT_EQ(::sigaction(SIGUSR1, &mine, &original), 0);
    {
        SignalPipe pipe({SIGUSR1});
        struct sigaction during = {};
        ::sigaction(SIGUSR1, nullptr, &during);
        EXPECT_NE(during.sa_handler, RecordingHandler);
        EXPECT_THROW(SignalPipe second({SIGUSR2}), std::logic_error);
    }
    struct sigaction after = {};
    ::sigaction(SIGUSR1, nullptr, &after);
    EXPECT_EQ(after.sa_handler, RecordingHandler);
    ::sigaction(SIGUSR1, &original, nullptr);
    // The first one gone, a new one may be made and works.
    SignalPipe again({SIGUSR2});
    QSignalSpy spy(&again, &SignalPipe::received);
    ::raise(SIGUSR2);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(Reported(spy), std::vector<int>{SIGUSR2});
}

TEST(SignalPipe, ManySignalsAtOnceAreAllReportedAndNothingBlocks) {
    // More than the pipe's reads take at a time; the handler must never block on a full
    // pipe either.
    SignalPipe pipe({SIGUSR1});
    QSignalSpy spy(&pipe, &SignalPipe::received);
    constexpr int kCount = 500;
    for (int i = 0; i < kCount; ++i)
        ::raise(SIGUSR1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spy.count() >= kCount; }, 5000)) << spy.count();
    EXPECT_EQ(spy.count(), kCount);
}

}  // namespace
