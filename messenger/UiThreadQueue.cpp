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

using namespace std::chrono_literals;

// How long each side waits awake for the other before it blocks: a little longer than a worker takes from
// one hand-over to the next, so a burst of datagrams passes without a single sleep.
constexpr auto UiPatience = 30us;
constexpr auto WorkerPatience = 50us;
// How long the user-interface thread keeps serving a burst before it returns to its event loop, so that
// input and painting go on during a flood.
constexpr auto ServingBudget = 2ms;

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

// After a posted hand-over, the worker's next one usually follows within microseconds: take those from the
// lane until none comes or the budget is spent.
void KeepServing(THandOverLane& lane) {
    const auto end = std::chrono::steady_clock::now() + ServingBudget;
    while (std::chrono::steady_clock::now() < end) {
        const auto next = lane.Listen(UiPatience);
        if (!next) {
            return;
        }
        next();
    }
}

}  // namespace

bool HandOver(TUiThreadQueue& queue, std::function<void()> call, std::stop_token stop, bool moreFollow) {
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
    const std::shared_ptr<THandOverLane>& lane = queue.Lane();
    std::function<void()> run = [state] { RunOnUiThread(state); };
    if (!lane->Offer(run)) {
        queue.Post([state, serving = moreFollow ? lane : nullptr] {
            RunOnUiThread(state);
            if (serving) {
                KeepServing(*serving);
            }
        });
    }

    lane->WaitAwake(state->Ran, WorkerPatience);
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
