#include "formstate/AutoSaver.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cstdint>

#include "formstate/FormSettings.h"
#include "formstate/IniFile.h"

namespace formstate {

namespace {

// The file and the reason: the store's messages name the file; a settings file that could
// not be written gets the system's reason added.
QString FailureMessage(const std::exception& e) {
    QString message = platform::MessageOf(e);
    if (const auto* ini = dynamic_cast<const IniWriteError*>(&e))
        if (!ini->Reason().isEmpty()) message += QStringLiteral(": ") + ini->Reason();
    return message;
}

}  // namespace

AutoSaver::AutoSaver(std::function<void(const QString&)> onFailure)
    : onFailure_(std::move(onFailure)),
      wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      worker_([this] { Run(); }) {
    if (wakeFd_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(wakeFd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [this] { Deliver(); });
    }
}

AutoSaver::~AutoSaver() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        waiting_.reset();
    }
    wake_.notify_all();
    worker_.join();
    notifier_.reset();
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

void AutoSaver::Deliver() {
    uint64_t count = 0;
    while (::read(wakeFd_, &count, sizeof count) > 0) {
    }
    std::optional<QString> report;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        report.swap(report_);
    }
    if (report && onFailure_) onFailure_(*report);
}

void AutoSaver::Save(QString fileName, FormsSnapshot forms) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_ = Job{std::move(fileName), std::move(forms)};
    }
    wake_.notify_all();
}

void AutoSaver::WaitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !waiting_ && !writing_; });
}

void AutoSaver::Flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    waiting_.reset();
    idle_.wait(lock, [this] { return !writing_; });
}

long AutoSaver::Written() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

long AutoSaver::Failed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failed_;
}

bool AutoSaver::Failing() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failing_;
}

void AutoSaver::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || waiting_; });
        if (stopping_) return;
        Job job = std::move(*waiting_);
        waiting_.reset();
        writing_ = true;
        lock.unlock();

        std::optional<QString> failure;
        try {
            SaveFormSettings(job.fileName, job.forms.Forms());
        } catch (const std::exception& e) {
            failure = FailureMessage(e);
        }
        // The copy goes on this thread, before the window may take the next one.
        job = Job{};

        lock.lock();
        writing_ = false;
        if (!failure) {
            ++written_;
            failing_ = false;
        } else {
            ++failed_;
            if (!failing_ && wakeFd_ >= 0) {
                report_ = std::move(failure);
                const uint64_t one = 1;
                if (::write(wakeFd_, &one, sizeof one) < 0) {
                    // The counter cannot overflow with one report pending at most.
                }
            }
            failing_ = true;
        }
        idle_.notify_all();
    }
}

}  // namespace formstate
