// Meeting a worker on the user-interface thread without a sleep and a wake-up on either side.
#include "messenger/HandOverLane.h"

#include <thread>
#include <utility>

namespace {

// Waits a moment for `ready` to turn true without sleeping; true when it did. On a computer with one core the
// other thread cannot make progress while this one waits, so there it gives up at once.
bool SpinUntil(const std::atomic<bool>& ready, std::chrono::microseconds patience) {
    static const bool othersCanRun = std::thread::hardware_concurrency() > 1;
    if (!othersCanRun) {
        return ready.load(std::memory_order_acquire);
    }
    // Plain loads, no sched_yield(): a system call per look would cost more than the wait it watches.
    constexpr int LooksPerClockReading = 64;
    const auto end = std::chrono::steady_clock::now() + patience;
    for (int looks = 1; !ready.load(std::memory_order_acquire); ++looks) {
        if (looks % LooksPerClockReading == 0 && std::chrono::steady_clock::now() >= end) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool THandOverLane::Offer(std::function<void()>& run) {
    std::lock_guard lock(Mutex);
    if (!Listening || Next) {
        return false;
    }
    Next = std::move(run);
    Offered.store(true, std::memory_order_release);
    return true;
}

std::function<void()> THandOverLane::Listen(std::chrono::microseconds patience) {
    {
        std::lock_guard lock(Mutex);
        Listening = true;
    }
    WaitAwake(Offered, patience);
    // Stop listening and look once more under the lock: an offer made just before this is still taken.
    std::lock_guard lock(Mutex);
    Listening = false;
    Offered.store(false, std::memory_order_relaxed);
    return std::exchange(Next, nullptr);
}

bool THandOverLane::WaitAwake(const std::atomic<bool>& ready, std::chrono::microseconds patience) {
    constexpr int SkippedAfterAFailure = 8;
    if (WaitsToSkip.load(std::memory_order_relaxed) > 0) {
        WaitsToSkip.fetch_sub(1, std::memory_order_relaxed);
        return ready.load(std::memory_order_acquire);
    }
    if (SpinUntil(ready, patience)) {
        return true;
    }
    WaitsToSkip.store(SkippedAfterAFailure, std::memory_order_relaxed);
    return false;
}
