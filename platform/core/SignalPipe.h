// Unix signals turned into ordinary Qt events. The handler that the operating system calls
// may do almost nothing safely, so it only writes the signal's number, one byte, into a
// pipe; a socket notifier on the pipe's other end then reports the signal on the thread
// that made the SignalPipe, where any code may run.
#pragma once

#include <signal.h>

#include <QObject>
#include <vector>

class QSocketNotifier;

namespace platform {

// While it lives, the listed signals are caught (no longer ending the program) and each
// one that arrives is reported by `received`; a signal that was ignored when the pipe was
// made (nohup's SIGHUP) stays ignored. One SignalPipe at a time: a second one
// throws std::logic_error. The handlers it replaced come back when it goes. Signals that
// arrive while it is disabled wait in the pipe and are reported once it is enabled.
class SignalPipe : public QObject {
    Q_OBJECT
public:
    explicit SignalPipe(const std::vector<int>& caught, QObject* parent = nullptr);
    ~SignalPipe() override;
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // Starts (true) or holds back (false) the reports; a new pipe reports at once.
    void SetEnabled(bool enabled);

signals:
    // One signal arrived; `signal` is its number (SIGTERM, ...).
    void received(int signal);

private:
    void Drain();

    int readFd_ = -1;
    int writeFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;  // a Qt child of this object
    // The handlers this pipe replaced, given back when it goes.
    struct Previous {
        int signal;
        struct sigaction action;
    };
    std::vector<Previous> previous_;
};

// The signals that end a desktop program politely: SIGTERM (kill, a shutdown), SIGINT
// (Ctrl+C in its terminal) and SIGHUP (its terminal closed).
std::vector<int> TerminationSignals();

}  // namespace platform
