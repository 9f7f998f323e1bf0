// The OnTimer event's binding, as the ticker sees it.
#include "messenger/TimerEvent.h"

bool TTimerEvent::WaitUntilBound(std::stop_token stop) {
    std::unique_lock lock(Mutex);
    return BoundChanged.wait(lock, stop, [this] { return Bound; });
}

void TTimerEvent::SetBound(bool bound) {
    {
        std::lock_guard lock(Mutex);
        Bound = bound;
    }
    BoundChanged.notify_all();
}
