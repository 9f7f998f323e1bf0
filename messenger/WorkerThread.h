// A worker thread that its owner can stop without waiting, and that is joined when destroyed.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

class TWorkerThread {
public:
    virtual ~TWorkerThread();
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    /// Asks the loop to end and returns at once; every wait of the loop wakes on it.
    void RequestStop();
    /// True once the loop has returned, so a join will not block.
    bool Finished() const;
    void Join();

protected:
    TWorkerThread() = default;

    /// Starts the loop; throws std::system_error when the system cannot create a thread. Derived
    /// classes call it last in their constructor, so the loop never sees a half-built object.
    void Start(std::function<void(std::stop_token)> loop);
    /// Sleeps for `period` unless a stop is requested first; false when it was.
    bool SleepFor(std::chrono::milliseconds period, std::stop_token stop);

private:
    std::mutex SleepMutex;
    std::condition_variable_any SleepWake;
    std::atomic<bool> Ended{false};
    std::jthread Thread;
};
