// A hand-pumped call queue.
#include "messenger/CallQueue.h"

#include <utility>

void TCallQueue::Post(std::function<void()> call) {
    {
        std::lock_guard lock(Mutex);
        Calls.push_back(std::move(call));
    }
    Arrived.notify_all();
}

std::size_t TCallQueue::RunPending() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(Mutex);
        batch.swap(Calls);
    }
    for (auto& call : batch) {
        call();
    }
    return batch.size();
}

bool TCallQueue::WaitForCalls(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(Mutex);
    Arrived.wait_for(lock, timeout, [this, count] { return Calls.size() >= count || Interrupted; });
    Interrupted = false;
    return Calls.size() >= count;
}

bool TCallQueue::RunOne(std::chrono::milliseconds timeout) {
    std::function<void()> call;
    {
        std::unique_lock lock(Mutex);
        Arrived.wait_for(lock, timeout, [this] { return !Calls.empty() || Interrupted; });
        Interrupted = false;
        if (Calls.empty()) {
            return false;
        }
        call = std::move(Calls.front());
        Calls.pop_front();
    }
    call();
    return true;
}

void TCallQueue::Interrupt() {
    {
        std::lock_guard lock(Mutex);
        Interrupted = true;
    }
    Arrived.notify_all();
}

std::size_t TCallQueue::Size() const {
    std::lock_guard lock(Mutex);
    return Calls.size();
}
