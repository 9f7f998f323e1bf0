// The one way a worker thread reaches the user-interface thread: post a call to its queue, and the
// blocking hand-over built on it.
#pragma once

#include <functional>
#include <stop_token>

class TUiThreadQueue {
public:
    virtual ~TUiThreadQueue() = default;

    /// Queues `call` to run on the user-interface thread, in posting order. Safe from any thread.
    virtual void Post(std::function<void()> call) = 0;
};

/// Posts `call` to `queue` and waits until it has run on the user-interface thread. A stop request
/// releases the worker at once and cancels the call if it has not started, so a stopped worker never
/// waits on a user-interface thread that is itself waiting for it. An exception that escaped the call
/// is thrown again here. Returns false when the call was cancelled or is still running at the stop.
/// A worker with much to hand over hands over one call that does it all (a burst of datagrams), rather
/// than one call each.
bool HandOver(TUiThreadQueue& queue, std::function<void()> call, std::stop_token stop);
