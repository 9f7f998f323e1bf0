// Calls that are due at a moment rather than now (delayed answers, the rounds of announcements), kept
// for one worker that sleeps until the earliest of them: an idle copy wakes only when one is due.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <stop_token>

class TAgenda final {
public:
    using TClock = std::chrono::steady_clock;
    using TCall = std::function<void()>;

    /// Files `call` to run at `when`, after the calls filed for the same moment. Safe from any thread.
    void At(TClock::time_point when, TCall call);
    /// Forgets every call that has not run yet.
    void Clear();
    std::size_t Size() const;

    /// For the worker: blocks until a call is due; false when `stop` was requested first.
    bool WaitUntilDue(std::stop_token stop);
    /// Runs, on the calling thread and earliest first, every call that is due now, also those that the
    /// calls file meanwhile for a moment already past. A call that throws leaves the later ones filed.
    void RunDue();

private:
    mutable std::mutex Mutex;
    std::condition_variable_any Changed;
    std::multimap<TClock::time_point, TCall> Calls;
};
