// The OnTimer event: a handler bound on the user-interface thread that the ticker can wait for, so that a
// messenger nobody ticks for does not wake at all.
#pragma once

#include <concepts>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <type_traits>
#include <utility>

class TMainMessenger;
using TNETimer = std::function<void(TMainMessenger& Sender)>;

class TTimerEvent final {
public:
    TTimerEvent() = default;
    TTimerEvent(const TTimerEvent&) = delete;
    TTimerEvent& operator=(const TTimerEvent&) = delete;

    /// Binds (or, with an empty handler, unbinds) the handler; a ticker waiting for one starts at once.
    template <typename THandler>
    requires(!std::same_as<std::remove_cvref_t<THandler>, TTimerEvent> &&
             std::constructible_from<TNETimer, THandler>) TTimerEvent&
    operator=(THandler&& handler) {
        Handler = TNETimer(std::forward<THandler>(handler));
        SetBound(static_cast<bool>(Handler));
        return *this;
    }

    explicit operator bool() const { return static_cast<bool>(Handler); }
    void operator()(TMainMessenger& sender) const { Handler(sender); }

    /// For the ticker: blocks while no handler is bound; false when `stop` was requested first.
    bool WaitUntilBound(std::stop_token stop);

private:
    void SetBound(bool bound);

    TNETimer Handler;  ///< touched on the user-interface thread only
    // The ticker reads only this flag, never the handler, which the user-interface thread may replace.
    std::mutex Mutex;
    std::condition_variable_any BoundChanged;
    bool Bound = false;
};
