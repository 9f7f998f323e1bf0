// The messaging component: activation, sending, reading and presence, and the workers' passes.
#include "messenger/uniMessenger.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "messenger/ComputerName.h"
#include "messenger/MailslotPath.h"
#include "messenger/MessageText.h"

TMainMessenger::TMainMessenger(const TMessengerEnvironment& environment)
    : Transport(environment.Transport), UiQueue(environment.UiQueue), System(environment.System) {
    FComputer = System.ComputerName();
    FUser = System.UserName();
}

TMainMessenger::~TMainMessenger() {
    if (FActive) {
        Deactivate();
    }
    RetireThreads();
    // Every worker was asked to stop, which also cancelled any hand-over it was waiting in, so these
    // joins end at once and no thread outlives the component it serves.
    StoppedThreads.clear();
}

void TMainMessenger::Activate() {
    if (FActive) {
        DoError("You tried to Activate an active TMessenger component");
        return;
    }
    std::erase_if(StoppedThreads, [](const auto& thread) { return thread->Finished(); });
    SignalThread = StartSignalThread();
    if (!SignalThread) {
        DoError("Could not Start TMessenger Timer Thread");
        return;
    }
    TimerThread = StartTimerThread();
    AgendaThread = TimerThread ? StartAgendaThread() : nullptr;
    if (!AgendaThread) {
        RetireThreads();
        DoError("Could not Start TMessenger Timer Thread");
        return;
    }
    SlotHandle = Transport.OpenMailbox(FBoxName);
    if (SlotHandle == InvalidMailboxId) {
        RetireThreads();
        DoError("Could not Create Mail Slot");
        return;
    }
    Announce();
    FActive = true;
    PlanPresence();
}

void TMainMessenger::Deactivate() {
    if (!FActive) {
        DoError("Cannot Deactivate an Inactive TMessenger Component");
        return;
    }
    RetireThreads();
    // Answers not yet given and rounds not yet held go with the mailbox: nobody is told of this copy now.
    Agenda.Clear();
    Transport.Close(SlotHandle);
    SendCommand("*", std::string(MessageText::OfflineNotify));
    FActive = false;
}

void TMainMessenger::Announce() {
    SendCommand("*", std::string(MessageText::OnlineNotify));
}

void TMainMessenger::PlanPresence() {
    // Announcements and answers are single datagrams that a busy network or computer may lose: one more
    // announcement soon after the start repairs what the first left out, and the rounds what a later
    // loss or a computer gone without a goodbye would leave wrong for good.
    if (const auto repeat = Moments.RepeatDelay(); repeat.count() > 0) {
        Agenda.At(TAgenda::TClock::now() + repeat, [this] { Announce(); });
    }
    PlanRound();
}

void TMainMessenger::PlanRound() {
    if (Moments.Timing().Refresh.count() <= 0) {
        return;
    }
    const auto now = TAgenda::TClock::now();
    Agenda.At(now + Moments.NextRound(), [this] {
        RollCall.NextRound();
        Announce();
        Agenda.At(TAgenda::TClock::now() + Moments.RoundSettle(), [this] { DropSilent(); });
        PlanRound();
    });
}

void TMainMessenger::DropSilent() {
    for (const auto& name : RollCall.Silent()) {
        RemoveUser(name);
    }
}

void TMainMessenger::AnswerLater(const std::string& Announcer) {
    const auto delay = Moments.AnswerDelay(UserList.Size());
    if (delay.count() == 0) {
        SendCommand(Announcer, std::string(MessageText::OnlineResponse));
        return;
    }
    Agenda.At(TAgenda::TClock::now() + delay,
              [this, Announcer] { SendCommand(Announcer, std::string(MessageText::OnlineResponse)); });
}

void TMainMessenger::SetBoxName(const std::string& Value) {
    if (Value == FBoxName) {
        return;
    }
    FBoxName = Value;
    if (FActive) {
        Deactivate();
        Activate();
    }
}

void TMainMessenger::SetInterval(std::uint16_t Value) {
    FInterval = Value;
}

void TMainMessenger::SendCommand(const std::string& Target, const std::string& Command) {
    TStringList outLines;
    MessageText::AppendCommand(outLines, System.TimeStamp(), FComputer, Command);
    SendText(Target, outLines);
}

std::optional<TSendFailure> TMainMessenger::SendMemoToAll(const TStringList& Lines) {
    TStringList outLines;
    MessageText::AppendMemo(outLines, System.TimeStamp(), FComputer, Lines);
    return SendText("*", outLines);
}

std::optional<TSendFailure> TMainMessenger::SendMemoTo(const std::string& Target, const TStringList& Lines) {
    if (Target == "*") {
        return std::nullopt;
    }
    TStringList outLines;
    MessageText::AppendMemo(outLines, System.TimeStamp(), FComputer, Lines);
    return SendText(Target, outLines);
}

std::optional<TSendFailure> TMainMessenger::SendText(const std::string& Target, const TStringList& OutLines) {
    if (OutLines.empty()) {
        return std::nullopt;
    }
    const TMailslotPath path{Target, FBoxName};
    // Counted here, on the very bytes that would be written: a longer write would be lost on the way
    // without anyone being told (Windows drops it), so it is not made at all.
    const std::string text = MessageText::Join(OutLines);
    if (const std::size_t limit = Transport.MaxWriteSize(path); text.size() > limit) {
        return TSendFailure{text.size(), limit, {}};
    }
    const TSendResult result = Transport.Send(path, text);
    if (result.Status == TSendResult::TStatus::CannotOpen) {
        DoError("Could not Open a Remote Mail Slot");
        return NotSent("Could not Open a Remote Mail Slot");
    }
    if (!result.Sent()) {
        // The transport already waited for room: what did not go is told, never dropped without a trace.
        DoError("Could not Write to a Remote Mail Slot: " + result.Detail);
        return NotSent(result.Detail);
    }
    ++Tally.Sent;
    return std::nullopt;
}

TSendFailure TMainMessenger::NotSent(const std::string& why) {
    ++Tally.NotSent;
    Tally.LastProblem = why;
    return TSendFailure{0, 0, why};
}

void TMainMessenger::ReadWaiting(std::uint32_t NextSize) {
    // One hand-over reads a whole burst, one datagram a ReadMessage, in arrival order; bounded, so that a
    // flood leaves the user-interface thread free for a key press and a repaint between bursts.
    constexpr int MaxReadsPerHandOver = 256;
    constexpr auto Budget = std::chrono::milliseconds(2);
    const auto end = std::chrono::steady_clock::now() + Budget;
    ReadMessage(NextSize);
    for (int read = 1; read < MaxReadsPerHandOver && std::chrono::steady_clock::now() < end; ++read) {
        // A handler may have deactivated the messenger meanwhile: its closed mailbox answers nothing.
        const auto info = Transport.Pending(SlotHandle);
        if (!info || info->MessageCount <= 0) {
            return;
        }
        ReadMessage(info->NextSize);
    }
}

void TMainMessenger::ReadMessage(std::uint32_t NextSize) {
    std::string receiveBuffer(NextSize, '\0');
    const std::uint32_t bytesRead = Transport.Take(SlotHandle, receiveBuffer).value_or(0);
    const auto message =
        MessageText::ReadHeader(MessageText::Split(std::string_view(receiveBuffer).substr(0, bytesRead)));
    if (!message) {
        return;
    }
    RollCall.Heard(message->Origin);
    UserList.Heard(message->Origin);
    if (message->Kind == MessageText::CommandMsg) {
        HandleCommand(message->Origin, message->Text);
    } else if (message->Kind == MessageText::LineMsg) {
        DoNewLine(message->Origin, message->Time, message->Text);
    } else if (message->Kind == MessageText::MemoMsg) {
        DoNewMemo(message->Origin, message->Time, message->MsgLines);
    }
}

void TMainMessenger::HandleCommand(const std::string& Origin, const std::string& Command) {
    // Our own announcements come back through the broadcast; a name no computer can have, or our own in
    // another case, is a forgery or a fault, and listing it would take memos meant for others.
    if (!IsListableComputer(Origin, FComputer)) {
        return;
    }
    if (Command == MessageText::OnlineNotify) {
        AddUser(Origin);
        AnswerLater(Origin);
    } else if (Command == MessageText::OnlineResponse) {
        AddUser(Origin);
    } else if (Command == MessageText::OfflineNotify) {
        RemoveUser(Origin);
    }
}

void TMainMessenger::AddUser(const std::string& Name) {
    if (UserList.Contains(Name)) {
        return;
    }
    if (const auto evicted = UserList.Add(Name)) {
        RollCall.Forget(*evicted);
        DoUserChange(*evicted, TUserChange::Left);
    }
    RollCall.Listed(Name);
    DoUserChange(Name, TUserChange::Joined);
}

void TMainMessenger::RemoveUser(const std::string& Name) {
    if (!UserList.Remove(Name)) {
        return;
    }
    RollCall.Forget(Name);
    DoUserChange(Name, TUserChange::Left);
}

void TMainMessenger::DoNewLine(const std::string& origin, const std::string& time, const std::string& line) {
    if (OnNewLine) {
        OnNewLine(*this, origin, time, line);
    }
}

void TMainMessenger::DoNewMemo(const std::string& origin, const std::string& time,
                               const TStringList& msgLines) {
    if (OnNewMemo) {
        OnNewMemo(*this, origin, time, msgLines);
    }
}

void TMainMessenger::DoUserListChange(const TStringList& userList) {
    if (OnUserListChange) {
        OnUserListChange(*this, userList);
    }
}

void TMainMessenger::DoUserChange(const std::string& name, TUserChange change) {
    if (OnUserChange) {
        OnUserChange(*this, name, change);
    }
    DoUserListChange(UserList.Names());
}

void TMainMessenger::DoError(const std::string& errorMsg) {
    if (OnError) {
        OnError(*this, errorMsg);
    }
}

void TMainMessenger::DoTimer() {
    if (OnTimer) {
        OnTimer(*this);
    }
}

void TMainMessenger::PollOnce(std::stop_token stop) {
    // Until Activate stores the new mailbox, and after Deactivate closed it, the query fails and counts
    // as nothing waiting.
    const TMailboxId slot = SlotHandle;
    if (const auto info = Transport.Pending(slot); info && info->MessageCount > 0) {
        try {
            HandOver(
                UiQueue, [this, nextSize = info->NextSize] { ReadWaiting(nextSize); }, stop);
        } catch (...) {
            // A failing event handler must not end reception; the datagram was read and is gone.
        }
        return;
    }
    // Where the transport can wait, the poller sleeps until a datagram arrives; otherwise it looks
    // again after a millisecond, which is all a plain mailbox offers.
    switch (Transport.Wait(slot, stop)) {
        case TMailslotWait::CannotWait:
            SleepFor(std::chrono::milliseconds(1), stop);
            break;
        case TMailslotWait::NetworkChanged:
            // A network that came back, or a new one, never heard this computer announce itself: it
            // does so again there, from the user-interface thread like every send.
            try {
                HandOver(
                    UiQueue, [this] { Announce(); }, stop);
            } catch (...) {
            }
            break;
        case TMailslotWait::DatagramWaiting:
        case TMailslotWait::Stopped:
            break;
    }
}

void TMainMessenger::Tick(std::stop_token stop) {
    if (!OnTimer.WaitUntilBound(stop)) {
        return;
    }
    try {
        HandOver(
            UiQueue, [this] { DoTimer(); }, stop);
    } catch (...) {
        // A failing timer handler must not stop the ticks that follow.
    }
    // Read anew before every sleep, so a changed Interval applies from the next one on.
    if (const auto interval = FInterval.load(); interval == 0) {
        std::this_thread::yield();
    } else {
        SleepFor(std::chrono::milliseconds(interval), stop);
    }
}

void TMainMessenger::KeepAgenda(std::stop_token stop) {
    if (!Agenda.WaitUntilDue(stop)) {
        return;
    }
    try {
        HandOver(
            UiQueue, [this] { Agenda.RunDue(); }, stop);
    } catch (...) {
        // A failing event handler must not stop the calls that follow.
    }
}

std::unique_ptr<TWorkerThread> TMainMessenger::StartAgendaThread() {
    try {
        return std::make_unique<TWorkerThread>([this](std::stop_token stop) { KeepAgenda(stop); });
    } catch (const std::system_error&) {
        return nullptr;
    }
}

std::unique_ptr<TSignalThread> TMainMessenger::StartSignalThread() {
    try {
        return std::make_unique<TSignalThread>([this](std::stop_token stop) { PollOnce(stop); });
    } catch (const std::system_error&) {
        return nullptr;
    }
}

std::unique_ptr<TTimerThread> TMainMessenger::StartTimerThread() {
    try {
        return std::make_unique<TTimerThread>([this](std::stop_token stop) { Tick(stop); });
    } catch (const std::system_error&) {
        return nullptr;
    }
}

void TMainMessenger::RetireThreads() {
    // Stop requests only: the user-interface thread never waits here for a worker, since a worker may
    // itself be waiting for the user-interface thread.
    for (auto* thread : {&SignalThread, &TimerThread, &AgendaThread}) {
        if (*thread) {
            (*thread)->RequestStop();
            StoppedThreads.push_back(std::move(*thread));
        }
    }
}
