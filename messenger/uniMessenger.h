// The messaging component: presence, memos and the events it raises for the user interface.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "messenger/MailslotTransport.h"
#include "messenger/StringList.h"
#include "messenger/SystemServices.h"
#include "messenger/UiThreadQueue.h"

class TMainMessenger;
class TSignalThread;
class TTimerThread;
class TWorkerThread;

using TNELineArrival = std::function<void(TMainMessenger& Sender, const std::string& Origin,
                                          const std::string& Time, const std::string& Line)>;
using TNEMemoArrival = std::function<void(TMainMessenger& Sender, const std::string& Origin,
                                          const std::string& Time, const TStringList& MsgLines)>;
using TNEUserListChange = std::function<void(TMainMessenger& Sender, const TStringList& UserList)>;
using TNEError = std::function<void(TMainMessenger& Sender, const std::string& ErrorMsg)>;
using TNETimer = std::function<void(TMainMessenger& Sender)>;

/// What the component asks of the system. All three must outlive the component.
struct TMessengerEnvironment {
    TMailslotTransport& Transport;
    TUiThreadQueue& UiQueue;
    TSystemServices& System;
};

/// Holds all state and implements every operation. Every member runs on the user-interface thread,
/// except the few fields the worker threads read or write (atomics).
class TMainMessenger {
public:
    explicit TMainMessenger(const TMessengerEnvironment& environment);
    virtual ~TMainMessenger();
    TMainMessenger(const TMainMessenger&) = delete;
    TMainMessenger& operator=(const TMainMessenger&) = delete;

    void Activate();
    void Deactivate();
    void SendMemoToAll(const TStringList& Lines);
    void SendMemoTo(const std::string& Target, const TStringList& Lines);

protected:
    const std::string& Computer() const { return FComputer; }
    const std::string& User() const { return FUser; }
    const std::string& BoxName() const { return FBoxName; }
    void SetBoxName(const std::string& Value);
    std::uint16_t Interval() const { return FInterval; }
    void SetInterval(std::uint16_t Value);

    virtual void DoNewLine(const std::string& origin, const std::string& time, const std::string& line);
    virtual void DoNewMemo(const std::string& origin, const std::string& time, const TStringList& msgLines);
    virtual void DoUserListChange(const TStringList& userList);
    virtual void DoError(const std::string& errorMsg);
    void DoTimer();

    void SendCommand(const std::string& Target, const std::string& Command);
    void SendText(const std::string& Target);
    void ReadMessage();
    void HandleCommand();
    void AddUser(const std::string& Name);
    void RemoveUser(const std::string& Name);

    /// Thread creation, overridable so that a failure to start can be reproduced. Nothing on failure.
    virtual std::unique_ptr<TSignalThread> StartSignalThread();
    virtual std::unique_ptr<TTimerThread> StartTimerThread();

    TMailslotTransport& Transport;
    TUiThreadQueue& UiQueue;
    TSystemServices& System;

    std::unique_ptr<TSignalThread> SignalThread;
    std::unique_ptr<TTimerThread> TimerThread;
    std::atomic<TMailslotHandle> SlotHandle{InvalidMailslotHandle};
    TMailslotHandle RemoteHandle = InvalidMailslotHandle;
    bool Active = false;
    std::string FComputer;
    std::string FUser;
    std::string LocalServer;
    std::string FBoxName = "SignalBox";
    std::string SlotPath;
    std::string RemotePath;
    std::uint32_t MaxMessageSize = 0;
    std::atomic<std::int32_t> MessageCount{0};
    std::atomic<std::uint32_t> NextSize{0};
    std::uint32_t BytesRead = 0;
    std::string MsgKind;
    std::string MsgTime;
    std::string MsgOrigin;
    std::string MsgText;
    TStringList OutLines;
    TStringList InLines;
    TStringList UserList;
    TStringList MsgLines;
    std::string ReceiveBuffer;
    std::atomic<std::uint16_t> FInterval{1000};
    TNELineArrival OnNewLine;
    TNEMemoArrival OnNewMemo;
    TNEUserListChange OnUserListChange;
    TNEError OnError;
    TNETimer OnTimer;

private:
    friend class TSignalThread;
    friend class TTimerThread;

    void RetireThreads();
    void JoinFinishedThreads();

    /// Threads asked to stop but possibly still running; joined as they end and at destruction.
    std::vector<std::unique_ptr<TWorkerThread>> StoppedThreads;
};

/// The component as its owner sees it: the published properties and events.
class TMessenger : public TMainMessenger {
public:
    using TMainMessenger::TMainMessenger;

    using TMainMessenger::BoxName;
    using TMainMessenger::Computer;
    using TMainMessenger::Interval;
    using TMainMessenger::SetBoxName;
    using TMainMessenger::SetInterval;
    using TMainMessenger::User;

    using TMainMessenger::OnError;
    using TMainMessenger::OnNewLine;
    using TMainMessenger::OnNewMemo;
    using TMainMessenger::OnTimer;
    using TMainMessenger::OnUserListChange;
};
