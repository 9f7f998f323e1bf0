// Runs a call on the user-interface thread and blocks the calling worker until it has run there.
#pragma once

#include <functional>
#include <stop_token>

#include "messenger/UiThreadQueue.h"

/// Posts `call` to `queue` and waits until it has run on the user-interface thread. A stop request
/// releases the worker at once and cancels the call if it has not started, so a stopped worker never
/// waits on a user-interface thread that is itself waiting for it. An exception that escaped the call
/// is thrown again here. Returns false when the call was cancelled or is still running at the stop.
bool HandOver(TUiThreadQueue& queue, std::function<void()> call, std::stop_token stop);
