// The messaging component: presence, memos and the events it raises for the user interface.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "messenger/Agenda.h"
#include "messenger/ComputerList.h"
#include "messenger/MailslotTransport.h"
#include "messenger/Presence.h"
#include "messenger/StringList.h"
#include "messenger/SystemServices.h"
#include "messenger/TimerEvent.h"
#include "messenger/UiThreadQueue.h"
#include "messenger/WorkerThread.h"

class TMainMessenger;

using TNELineArrival = std::function<void(TMainMessenger& Sender, const std::string& Origin,
                                          const std::string& Time, const std::string& Line)>;
using TNEMemoArrival = std::function<void(TMainMessenger& Sender, const std::string& Origin,
                                          const std::string& Time, const TStringList& MsgLines)>;
using TNEUserListChange = std::function<void(TMainMessenger& Sender, const TStringList& UserList)>;
/// One computer joined the list or left it: what a program with a long list updates, one entry a change.
enum class TUserChange { Joined, Left };
using TNEUserChange =
    std::function<void(TMainMessenger& Sender, const std::string& Name, TUserChange Change)>;
using TNEError = std::function<void(TMainMessenger& Sender, const std::string& ErrorMsg)>;

/// Why a memo did not go: longer than the computers it goes to take (its message text on the wire, header
/// lines included, and the most they take), or the transport could not send it.
struct TSendFailure {
    std::size_t Size = 0;
    std::size_t Limit = 0;
    std::string NotSent;  ///< set when the transport did not send it: why
};

/// Sends since activation: how many left, and how many did not, with the reason of the last that did not.
struct TSendTally {
    std::uint64_t Sent = 0;
    std::uint64_t NotSent = 0;
    std::string LastProblem;
};

/// What the component asks of the system. All three must outlive the component.
struct TMessengerEnvironment {
    TMailslotTransport& Transport;
    TUiThreadQueue& UiQueue;
    TSystemServices& System;
};

/// Holds all state and implements every operation. Every member runs on the user-interface thread;
/// the worker threads run only PollOnce and Tick, which hand their work over to that thread.
class TMainMessenger {
public:
    explicit TMainMessenger(const TMessengerEnvironment& environment);
    virtual ~TMainMessenger();
    TMainMessenger(const TMainMessenger&) = delete;
    TMainMessenger& operator=(const TMainMessenger&) = delete;

    void Activate();
    void Deactivate();
    /// Both send nothing and say why when the memo is longer than the transport lets a write to the target
    /// carry, and say why when the transport could not send it; nothing when it was sent (or, to "*" as one
    /// computer, ignored).
    std::optional<TSendFailure> SendMemoToAll(const TStringList& Lines);
    std::optional<TSendFailure> SendMemoTo(const std::string& Target, const TStringList& Lines);

    /// When this copy answers and announces itself (see Presence.h); applies from the next Activate.
    void SetPresenceTiming(const TPresenceTiming& timing) { Moments.SetTiming(timing); }
    const TSendTally& SendTally() const { return Tally; }
    /// The computers listed now, in the order they joined.
    const TStringList& Users() const { return UserList.Names(); }

protected:
    const std::string& Computer() const { return FComputer; }
    const std::string& User() const { return FUser; }
    const std::string& BoxName() const { return FBoxName; }
    void SetBoxName(const std::string& Value);
    std::uint16_t Interval() const { return FInterval; }
    void SetInterval(std::uint16_t Value);
    /// True between a successful Activate and Deactivate, exactly while both workers are set.
    bool Active() const { return FActive; }
    bool HasWorkers() const { return SignalThread || TimerThread || AgendaThread; }

    virtual void DoNewLine(const std::string& origin, const std::string& time, const std::string& line);
    virtual void DoNewMemo(const std::string& origin, const std::string& time, const TStringList& msgLines);
    virtual void DoUserListChange(const TStringList& userList);
    void DoUserChange(const std::string& name, TUserChange change);
    virtual void DoError(const std::string& errorMsg);
    void DoTimer();

    void SendCommand(const std::string& Target, const std::string& Command);

    /// Worker creation, overridable so that a failure to start can be reproduced. Nothing on failure.
    virtual std::unique_ptr<TSignalThread> StartSignalThread();
    virtual std::unique_ptr<TTimerThread> StartTimerThread();
    std::unique_ptr<TWorkerThread> StartAgendaThread();

    TNELineArrival OnNewLine;
    TNEMemoArrival OnNewMemo;
    /// The whole list at every change; a long list costs its length each time, so programs take OnUserChange.
    TNEUserListChange OnUserListChange;
    TNEUserChange OnUserChange;
    TNEError OnError;
    /// The ticker sleeps until a handler is bound: a copy that nobody ticks for never wakes for it.
    TTimerEvent OnTimer;

private:
    /// One pass of the poller: hands the read of one waiting datagram over, or waits for one.
    void PollOnce(std::stop_token stop);
    /// One pass of the ticker: waits for a handler, hands the tick over, then sleeps the current Interval.
    void Tick(std::stop_token stop);
    /// One pass of the agenda's worker: sleeps until a call is due, then hands the due ones over.
    void KeepAgenda(std::stop_token stop);

    std::optional<TSendFailure> SendText(const std::string& Target, const TStringList& OutLines);
    void Announce();
    void AnswerLater(const std::string& Announcer);
    void PlanPresence();
    void PlanRound();
    void DropSilent();
    TSendFailure NotSent(const std::string& why);
    void ReadMessage(std::uint32_t NextSize);
    /// Reads the datagram of `NextSize` bytes and those waiting behind it, a bounded number, one
    /// ReadMessage each: a burst costs one hand-over, not one a datagram.
    void ReadWaiting(std::uint32_t NextSize);
    void HandleCommand(const std::string& Origin, const std::string& Command);
    void AddUser(const std::string& Name);
    void RemoveUser(const std::string& Name);
    void RetireThreads();

    TMailslotTransport& Transport;
    TUiThreadQueue& UiQueue;
    TSystemServices& System;

    std::unique_ptr<TSignalThread> SignalThread;
    std::unique_ptr<TTimerThread> TimerThread;
    std::unique_ptr<TWorkerThread> AgendaThread;
    /// Threads asked to stop but possibly still running; joined as they end and at destruction.
    std::vector<std::unique_ptr<TWorkerThread>> StoppedThreads;
    /// Read by the poller while the user-interface thread replaces it; a stale id simply fails.
    std::atomic<TMailboxId> SlotHandle{InvalidMailboxId};
    bool FActive = false;
    std::string FComputer;
    std::string FUser;
    std::string FBoxName = "SignalBox";
    std::atomic<std::uint16_t> FInterval{1000};  ///< read by the ticker before every sleep
    TComputerList UserList;
    TAgenda Agenda;  ///< filed and run on the user-interface thread; its worker only waits on it
    TPresenceClock Moments{TPresenceTiming{}};
    TRollCall RollCall;
    TSendTally Tally;
};

/// The component as its owner sees it: the published properties and events.
class TMessenger : public TMainMessenger {
public:
    using TMainMessenger::TMainMessenger;

    using TMainMessenger::Active;
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
    using TMainMessenger::OnUserChange;
    using TMainMessenger::OnUserListChange;
};
