// The one way a worker thread reaches the user-interface thread: post a call to its queue.
#pragma once

#include <functional>

class TUiThreadQueue {
public:
    virtual ~TUiThreadQueue() = default;

    /// Queues `call` to run on the user-interface thread, in posting order. Safe from any thread.
    virtual void Post(std::function<void()> call) = 0;
};
