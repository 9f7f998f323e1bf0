// The short way for a worker's hand-over to a user-interface thread that has just finished the last one.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

/// While datagrams arrive back to back, the user-interface thread waits a moment after each hand-over for
/// the next one and runs it at once, and the worker leaves it here instead of posting it: the two threads
/// then meet without either of them falling asleep, and without a trip through the event loop. When
/// nothing comes, the moment passes and both block as before, so an idle copy never spins.
class THandOverLane {
public:
    /// Worker side: gives `run` to a user-interface thread that is listening now; false when none is, and
    /// the caller posts it to the queue instead.
    bool Offer(std::function<void()>& run);
    /// User-interface side: waits up to `patience` for an offer; an empty function when none came.
    std::function<void()> Listen(std::chrono::microseconds patience);
    /// Waits up to `patience` for `ready` without sleeping, unless a wait came to nothing a moment ago: on
    /// a busy computer the other thread may be waiting for a core, and spinning would only keep it waiting.
    bool WaitAwake(const std::atomic<bool>& ready, std::chrono::microseconds patience);

private:
    std::mutex Mutex;
    bool Listening = false;            ///< guarded by Mutex
    std::function<void()> Next;        ///< guarded by Mutex
    std::atomic<bool> Offered{false};  ///< what the listener watches while it waits
    std::atomic<int> WaitsToSkip{0};   ///< after a wait that came to nothing, this many do not spin
};
