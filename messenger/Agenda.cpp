// The agenda: a time-ordered list of calls and the wait for the first one.
#include "messenger/Agenda.h"

#include <utility>

void TAgenda::At(TClock::time_point when, TCall call) {
    std::lock_guard lock(Mutex);
    const bool earliest = Calls.empty() || when < Calls.begin()->first;
    Calls.emplace(when, std::move(call));
    // Only a new first call moves the worker's wake-up; the others it finds when it gets there.
    if (earliest) {
        Changed.notify_all();
    }
}

void TAgenda::Clear() {
    std::lock_guard lock(Mutex);
    Calls.clear();
}

std::size_t TAgenda::Size() const {
    std::lock_guard lock(Mutex);
    return Calls.size();
}

bool TAgenda::WaitUntilDue(std::stop_token stop) {
    std::unique_lock lock(Mutex);
    while (!stop.stop_requested()) {
        if (Calls.empty()) {
            Changed.wait(lock, stop, [this] { return !Calls.empty(); });
            continue;
        }
        const auto first = Calls.begin()->first;
        if (first <= TClock::now()) {
            return true;
        }
        Changed.wait_until(lock, stop, first,
                           [this, first] { return Calls.empty() || Calls.begin()->first < first; });
    }
    return false;
}

void TAgenda::RunDue() {
    for (;;) {
        TCall call;
        {
            std::lock_guard lock(Mutex);
            if (Calls.empty() || Calls.begin()->first > TClock::now()) {
                return;
            }
            call = std::move(Calls.begin()->second);
            Calls.erase(Calls.begin());
        }
        call();
    }
}
