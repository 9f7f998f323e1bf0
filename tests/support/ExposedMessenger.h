// A messenger that lets tests and fuzzers see its state, send raw commands and fail a worker's start.
#pragma once

#include "messenger/SignalThread.h"
#include "messenger/TimerThread.h"
#include "messenger/uniMessenger.h"

class TExposedMessenger : public TMessenger {
public:
    using TMainMessenger::Active;
    using TMainMessenger::InLines;
    using TMainMessenger::NextSize;
    using TMainMessenger::OutLines;
    using TMainMessenger::ReadMessage;
    using TMainMessenger::SendCommand;
    using TMainMessenger::SignalThread;
    using TMainMessenger::SlotHandle;
    using TMainMessenger::TimerThread;
    using TMainMessenger::UserList;
    using TMessenger::TMessenger;

    bool FailSignalThread = false;
    bool FailTimerThread = false;

protected:
    std::unique_ptr<TSignalThread> StartSignalThread() override {
        return FailSignalThread ? nullptr : TMessenger::StartSignalThread();
    }
    std::unique_ptr<TTimerThread> StartTimerThread() override {
        return FailTimerThread ? nullptr : TMessenger::StartTimerThread();
    }
};
