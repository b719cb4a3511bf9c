// The automatic save: the window hands over a copy of its forms (FormsSnapshot) after every
// change, and a worker thread of its own writes settings.dat and the side files from it by
// the very walk a close runs (SaveFormSettings), so the window's thread never waits for the
// disk. Saves run one at a time in the order they were asked for; a save asked for while
// another is still waiting replaces it, so the files never go back to an older state. A
// failed save is reported once: the report comes when a save fails after one that did not,
// and the next save that succeeds ends the failure.
#pragma once

#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "formstate/FormSnapshot.h"

class QSocketNotifier;

namespace formstate {

class AutoSaver {
public:
    // `onFailure` gets the failed save's message (the file and the system's reason); it is
    // called from the event loop of the thread that makes the saver, never after the saver
    // is gone.
    explicit AutoSaver(std::function<void(const QString& message)> onFailure);
    // Drops a save still waiting, waits for the one being written, and ends the thread.
    ~AutoSaver();
    AutoSaver(const AutoSaver&) = delete;
    AutoSaver& operator=(const AutoSaver&) = delete;

    // Asks for `forms` to be saved into `fileName` (and their side files): at once when the
    // worker is free, else after the save being written, in place of any save still waiting.
    void Save(QString fileName, FormsSnapshot forms);

    // Returns when every save asked for so far has been written or has failed.
    void WaitUntilIdle();
    // Drops a save still waiting and returns when the one being written is done: for a
    // caller that saves the newest state itself straight after (the window's close).
    void Flush();

    // How many saves were written in full, and how many failed, so far.
    long Written() const;
    long Failed() const;
    // True from a failed save until the next one that succeeds.
    bool Failing() const;

private:
    struct Job {
        QString fileName;
        FormsSnapshot forms;
    };

    void Run();
    // On the making thread: hands a report the worker left to onFailure_.
    void Deliver();

    std::function<void(const QString&)> onFailure_;
    // The worker wakes the making thread through an eventfd that a socket notifier watches:
    // no Qt call on the worker, and the report is handed over under mutex_.
    int wakeFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;  // a job came, or the saver ends
    std::condition_variable idle_;  // a job finished
    std::optional<Job> waiting_;
    bool writing_ = false;
    bool stopping_ = false;
    bool failing_ = false;
    std::optional<QString> report_;  // a failure the making thread has not been told yet
    long written_ = 0;
    long failed_ = 0;
    std::thread worker_;  // last: starts once everything above is made
};

}  // namespace formstate
