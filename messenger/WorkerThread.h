// A worker thread that runs one pass after another until its owner asks it to stop, without waiting.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <stop_token>
#include <thread>

class TWorkerThread final {
public:
    using TPass = std::function<void(std::stop_token)>;

    /// Starts running `pass` until a stop is requested; throws std::system_error when the system cannot
    /// create a thread. Destruction asks the loop to stop and joins it (std::jthread does both).
    explicit TWorkerThread(TPass pass);
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    /// Asks the loop to end and returns at once; every wait of a pass wakes on it.
    void RequestStop() { Thread.request_stop(); }
    /// True once the loop has returned, so a join will not block.
    bool Finished() const { return Ended; }

private:
    std::atomic<bool> Ended{false};
    std::jthread Thread;
};

/// The poller (passes: TMainMessenger::PollOnce) and the ticker (passes: TMainMessenger::Tick).
using TSignalThread = TWorkerThread;
using TTimerThread = TWorkerThread;

/// Sleeps for `period` unless a stop is requested first; false when it was.
bool SleepFor(std::chrono::milliseconds period, std::stop_token stop);
