#include "platform/core/SignalPipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace platform {

namespace {

// The pipe's writing end for the handler; -1 while no SignalPipe lives. A lock-free atomic
// may be read inside a signal handler.
std::atomic<int> g_writeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the handler needs a lock-free int");

// Runs inside the signal: write() alone, which is async-signal-safe, and errno kept for
// the code the signal interrupted. A full pipe drops the byte: plenty of the same signal
// are already waiting there.
extern "C" void OnSignal(int signal) {
    const int saved = errno;
    const int fd = g_writeFd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

std::vector<int> TerminationSignals() {
    return {SIGTERM, SIGINT, SIGHUP};
}

SignalPipe::SignalPipe(const std::vector<int>& caught, QObject* parent) : QObject(parent) {
    if (g_writeFd.load() >= 0) throw std::logic_error("only one SignalPipe may live at a time");
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    readFd_ = fds[0];
    writeFd_ = fds[1];
    g_writeFd.store(writeFd_);
    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    for (const int signal : caught) {
        // A signal the program was started to ignore (nohup ignores SIGHUP) stays ignored.
        struct sigaction current = {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction action = {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        // Interrupted system calls of the program go on as if nothing happened.
        action.sa_flags = SA_RESTART;
        Previous previous{signal, {}};
        if (::sigaction(signal, &action, &previous.action) == 0) previous_.push_back(previous);
    }
}

SignalPipe::~SignalPipe() {
    for (auto it = previous_.rbegin(); it != previous_.rend(); ++it)
        ::sigaction(it->signal, &it->action, nullptr);
    g_writeFd.store(-1);
    delete notifier_;  // before the descriptor it watches is closed
    notifier_ = nullptr;
    ::close(readFd_);
    ::close(writeFd_);
}

void SignalPipe::SetEnabled(bool enabled) {
    notifier_->setEnabled(enabled);
}

void SignalPipe::Drain() {
    // Everything waiting is read first: a receiver may run a nested event loop (a message
    // box), in which this notifier must not see the same bytes again.
    std::vector<unsigned char> arrived;
    unsigned char bytes[64];
    for (;;) {
        const ssize_t n = ::read(readFd_, bytes, sizeof bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // empty for now (EAGAIN)
        arrived.insert(arrived.end(), bytes, bytes + n);
    }
    for (const unsigned char signal : arrived)
        emit received(signal);
}

}  // namespace platform
