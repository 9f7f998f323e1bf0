// The blocking hand-over between a worker and the user-interface thread.
#include "messenger/UiThreadQueue.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <utility>

namespace {

constexpr auto WorkerPatience = std::chrono::microseconds(50);

// Shared by the worker and the posted call, so whichever side finishes last frees it.
struct THandOverState {
    enum class TStage { Pending, Running, Done, Cancelled };

    std::mutex Mutex;
    std::condition_variable Changed;
    TStage Stage = TStage::Pending;
    bool StopSeen = false;  ///< set only by the stop callback, so the worker never outruns it
    std::function<void()> Call;
    // Moved from thread to thread, never copied: the exception then has one owner at a time, and its
    // last reference is dropped by the worker that rethrew it.
    std::exception_ptr Failure;
    std::atomic<bool> Ran{false};  ///< set after Done, for a worker that waits awake
};

void RunOnUiThread(const std::shared_ptr<THandOverState>& state) {
    std::function<void()> call;
    {
        std::lock_guard lock(state->Mutex);
        if (state->Stage != THandOverState::TStage::Pending) {
            return;
        }
        state->Stage = THandOverState::TStage::Running;
        call = std::move(state->Call);
    }
    std::exception_ptr failure;
    try {
        call();
    } catch (...) {
        failure = std::current_exception();
    }
    {
        std::lock_guard lock(state->Mutex);
        state->Stage = THandOverState::TStage::Done;
        state->Failure = std::move(failure);
    }
    state->Ran.store(true, std::memory_order_release);
    state->Changed.notify_all();
}

}  // namespace

bool HandOver(TUiThreadQueue& queue, std::function<void()> call, std::stop_token stop) {
    if (stop.stop_requested()) {
        return false;
    }
    auto state = std::make_shared<THandOverState>();
    state->Call = std::move(call);
    // Runs inside RequestStop on the stopping thread, so once the request returns a call that has
    // not started will never start: nothing runs on behalf of a stopped worker. The worker waits for
    // this callback itself, not for the stop flag, or it could leave and unregister the callback
    // before the callback got to run.
    std::stop_callback cancel(stop, [&state] {
        {
            std::lock_guard lock(state->Mutex);
            state->StopSeen = true;
            if (state->Stage == THandOverState::TStage::Pending) {
                state->Stage = THandOverState::TStage::Cancelled;
                state->Call = nullptr;
            }
        }
        state->Changed.notify_all();
    });
    queue.Post([state] { RunOnUiThread(state); });
    // The call usually runs within microseconds: waiting for it awake that long spares the worker a
    // wake-up for each datagram, which on a busy computer costs ten times as much.
    for (const auto end = std::chrono::steady_clock::now() + WorkerPatience;
         !state->Ran.load(std::memory_order_acquire) && std::chrono::steady_clock::now() < end;) {
    }
    std::exception_ptr failure;
    {
        std::unique_lock lock(state->Mutex);
        state->Changed.wait(
            lock, [&state] { return state->Stage == THandOverState::TStage::Done || state->StopSeen; });
        if (state->Stage != THandOverState::TStage::Done) {
            return false;
        }
        failure = std::move(state->Failure);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return true;
}
