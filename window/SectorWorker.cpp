#include "window/SectorWorker.h"

#include <QMetaObject>

TSectorWorker::TSectorWorker(QObject* parent) : QObject(parent) {}

TSectorWorker::~TSectorWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    // A result posted before the join is still queued for this object: QObject's destructor
    // removes it, so OnResult is never called after this.
}

void TSectorWorker::Request(const roulette::SectorScan& scan, std::uint64_t seed, int draws,
                            std::uint64_t id) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = Job{scan, seed, draws, id};
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_one();
}

int TSectorWorker::Computed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return computed_;
}

void TSectorWorker::Run() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
            if (stop_) return;
            job = *pending_;
            pending_.reset();
        }
        const std::optional<double> p = roulette::SectorPValue(job.scan, job.seed, job.draws);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++computed_;
            if (stop_) return;
        }
        // Posted to this object, which lives on the window's thread: the call runs there.
        QMetaObject::invokeMethod(
            this,
            [this, id = job.id, p] {
                if (OnResult) OnResult(id, p);
            },
            Qt::QueuedConnection);
    }
}
