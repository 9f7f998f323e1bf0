// A messenger whose activity tests can see, that sends raw commands and can fail a worker's start.
#pragma once

#include "messenger/uniMessenger.h"

class TExposedMessenger : public TMessenger {
public:
    using TMainMessenger::HasWorkers;
    using TMainMessenger::SendCommand;
    using TMessenger::TMessenger;

    /// The second worker to start fails: the first, already running, must be stopped again.
    bool FailTimerThread = false;

protected:
    std::unique_ptr<TTimerThread> StartTimerThread() override {
        return FailTimerThread ? nullptr : TMessenger::StartTimerThread();
    }
};
