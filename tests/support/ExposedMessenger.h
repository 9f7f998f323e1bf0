// A messenger that lets tests and fuzzers see its state and drive its internal operations.
#pragma once

#include "SignalThread.h"
#include "TimerThread.h"
#include "uniMessenger.h"

class TExposedMessenger : public TMessenger {
public:
    using TMessenger::TMessenger;

    using TMainMessenger::Active;
    using TMainMessenger::BytesRead;
    using TMainMessenger::HandleCommand;
    using TMainMessenger::InLines;
    using TMainMessenger::LocalServer;
    using TMainMessenger::MsgKind;
    using TMainMessenger::MsgLines;
    using TMainMessenger::MsgOrigin;
    using TMainMessenger::NextSize;
    using TMainMessenger::OutLines;
    using TMainMessenger::ReadMessage;
    using TMainMessenger::RemoteHandle;
    using TMainMessenger::RemotePath;
    using TMainMessenger::SendCommand;
    using TMainMessenger::SignalThread;
    using TMainMessenger::SlotHandle;
    using TMainMessenger::SlotPath;
    using TMainMessenger::TimerThread;
    using TMainMessenger::UserList;

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
