// The hottest sector's p-value computed on a thread of its own, so that the window's thread
// never waits for the thousands of simulated wheels. One request is worked on at a time;
// a newer request replaces one that has not started; each result is handed to OnResult on
// the thread that made the worker, with the number of the request it answers.
// Destroying the worker waits for the computation in progress, if any, and drops its
// result.
#pragma once

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "roulette/Sector.h"

class TSectorWorker : public QObject {
    Q_OBJECT
public:
    explicit TSectorWorker(QObject* parent = nullptr);
    ~TSectorWorker() override;

    // Asks for the p-value of `scan` over `draws` fair wheels drawn from `seed`; `id`
    // comes back with the result.
    void Request(const roulette::SectorScan& scan, std::uint64_t seed, int draws, std::uint64_t id);

    // Called on the worker's own (the creating) thread.
    std::function<void(std::uint64_t id, std::optional<double> p)> OnResult;

    // Requests computed so far (a replaced one is never computed).
    int Computed() const;

private:
    struct Job {
        roulette::SectorScan scan;
        std::uint64_t seed = 0;
        int draws = 0;
        std::uint64_t id = 0;
    };
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Job> pending_;
    bool stop_ = false;
    int computed_ = 0;
    std::thread thread_;  // started with the first request
};
