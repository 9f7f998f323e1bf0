// The one way a worker thread reaches the user-interface thread: post a call to its queue, and the
// blocking hand-over built on it.
#pragma once

#include <functional>
#include <memory>
#include <stop_token>

#include "messenger/HandOverLane.h"

class TUiThreadQueue {
public:
    virtual ~TUiThreadQueue() = default;

    /// Queues `call` to run on the user-interface thread, in posting order. Safe from any thread.
    virtual void Post(std::function<void()> call) = 0;

    /// Where HandOver meets this queue's thread while hand-overs follow each other closely.
    const std::shared_ptr<THandOverLane>& Lane() const { return FLane; }

private:
    std::shared_ptr<THandOverLane> FLane = std::make_shared<THandOverLane>();
};

/// Posts `call` to `queue` and waits until it has run on the user-interface thread. A stop request
/// releases the worker at once and cancels the call if it has not started, so a stopped worker never
/// waits on a user-interface thread that is itself waiting for it. An exception that escaped the call
/// is thrown again here. Returns false when the call was cancelled or is still running at the stop.
/// Calls of one worker run in the order handed over, one per hand-over; while they follow each other
/// closely they meet the user-interface thread on the queue's lane instead of going through the queue:
/// `moreFollow` says that the worker already has the next one waiting, so that thread waits for it.
bool HandOver(TUiThreadQueue& queue, std::function<void()> call, std::stop_token stop,
              bool moreFollow = false);
