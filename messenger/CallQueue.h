// A user-interface queue that its owner pumps by hand: for tests, benchmarks and console loops.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "messenger/UiThreadQueue.h"

class TCallQueue final : public TUiThreadQueue {
public:
    void Post(std::function<void()> call) override;

    /// Runs the calls queued at this moment (not those they post); returns how many ran.
    std::size_t RunPending();
    /// Waits up to `timeout` for one call and runs it; false when none came.
    bool RunOne(std::chrono::milliseconds timeout);
    /// Waits up to `timeout` until at least `count` calls are queued, without running them.
    bool WaitForCalls(std::size_t count, std::chrono::milliseconds timeout);
    /// Wakes a RunOne or WaitForCall that is waiting now, as if the time-out had passed.
    void Interrupt();
    std::size_t Size() const;

private:
    mutable std::mutex Mutex;
    std::condition_variable Arrived;
    std::deque<std::function<void()>> Calls;
    bool Interrupted = false;
};
