// The messaging component: activation, sending, reading and presence.
#include "messenger/uniMessenger.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "messenger/MessageText.h"
#include "messenger/SignalThread.h"
#include "messenger/TimerThread.h"

namespace {

std::string MailslotPath(const std::string& server, const std::string& boxName) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on a chain of operator+.
    std::string path = "\\\\";
    path.append(server).append("\\mailslot\\").append(boxName);
    return path;
}

}  // namespace

TMainMessenger::TMainMessenger(const TMessengerEnvironment& environment)
    : Transport(environment.Transport), UiQueue(environment.UiQueue), System(environment.System) {
    FComputer = System.ComputerName();
    FUser = System.UserName();
}

TMainMessenger::~TMainMessenger() {
    if (Active) {
        Deactivate();
    }
    RetireThreads();
    // Every worker was asked to stop, which also cancelled any hand-over it was waiting in, so these
    // joins end at once and no thread outlives the component it serves.
    StoppedThreads.clear();
}

void TMainMessenger::Activate() {
    if (Active) {
        DoError("You tried to Activate an active TMessenger component");
        return;
    }
    JoinFinishedThreads();
    SignalThread = StartSignalThread();
    if (!SignalThread) {
        DoError("Could not Start TMessenger Timer Thread");
        return;
    }
    TimerThread = StartTimerThread();
    if (!TimerThread) {
        RetireThreads();
        DoError("Could not Start TMessenger Timer Thread");
        return;
    }
    LocalServer = std::string(1, '.');
    SlotPath = MailslotPath(LocalServer, FBoxName);
    SlotHandle = Transport.CreateMailslot(SlotPath, MaxMessageSize, 0);
    if (SlotHandle == InvalidMailslotHandle) {
        RetireThreads();
        DoError("Could not Create Mail Slot");
        return;
    }
    SendCommand("*", std::string(MessageText::OnlineNotify));
    Active = true;
}

void TMainMessenger::Deactivate() {
    if (!Active) {
        DoError("Cannot Deactivate an Inactive TMessenger Component");
        return;
    }
    RetireThreads();
    Transport.CloseHandle(SlotHandle);
    SendCommand("*", std::string(MessageText::OfflineNotify));
    Active = false;
}

void TMainMessenger::SetBoxName(const std::string& Value) {
    if (Value == FBoxName) {
        return;
    }
    FBoxName = Value;
    if (Active) {
        Deactivate();
        Activate();
    }
}

void TMainMessenger::SetInterval(std::uint16_t Value) { FInterval = Value; }

void TMainMessenger::SendCommand(const std::string& Target, const std::string& Command) {
    MessageText::AppendCommand(OutLines, System.TimeStamp(), FComputer, Command);
    SendText(Target);
}

void TMainMessenger::SendMemoToAll(const TStringList& Lines) {
    MessageText::AppendMemo(OutLines, System.TimeStamp(), FComputer, Lines);
    SendText("*");
}

void TMainMessenger::SendMemoTo(const std::string& Target, const TStringList& Lines) {
    if (Target == "*") {
        return;
    }
    MessageText::AppendMemo(OutLines, System.TimeStamp(), FComputer, Lines);
    SendText(Target);
}

void TMainMessenger::SendText(const std::string& Target) {
    // Taken out first, so that whatever an error handler sends starts from an empty list.
    TStringList lines;
    lines.swap(OutLines);
    if (lines.empty()) {
        return;
    }
    RemotePath = MailslotPath(Target, FBoxName);
    RemoteHandle = Transport.CreateFile(RemotePath);
    if (RemoteHandle == InvalidMailslotHandle) {
        DoError("Could not Open a Remote Mail Slot");
        return;
    }
    Transport.WriteFile(RemoteHandle, MessageText::Join(lines));
    // The handle serves exactly one write; keeping it open would leak one per message.
    Transport.CloseHandle(RemoteHandle);
    RemoteHandle = InvalidMailslotHandle;
}

void TMainMessenger::ReadMessage() {
    InLines.clear();
    ReceiveBuffer.resize(NextSize);
    BytesRead = Transport.ReadFile(SlotHandle, ReceiveBuffer).value_or(0);
    MessageText::SplitInto(std::string_view(ReceiveBuffer.data(), BytesRead), InLines);
    MsgLines.clear();
    if (auto header = MessageText::ReadHeader(InLines)) {
        MsgKind = std::move(header->Kind);
        MsgTime = std::move(header->Time);
        MsgOrigin = std::move(header->Origin);
        MsgText = std::move(header->Text);
        MsgLines = std::move(header->MsgLines);
        if (MsgKind == MessageText::CommandMsg) {
            HandleCommand();
        } else if (MsgKind == MessageText::LineMsg) {
            DoNewLine(MsgOrigin, MsgTime, MsgText);
        } else if (MsgKind == MessageText::MemoMsg) {
            DoNewMemo(MsgOrigin, MsgTime, MsgLines);
        }
    }
    InLines.clear();
}

void TMainMessenger::HandleCommand() {
    // Our own announcements come back through the broadcast.
    if (MsgOrigin == FComputer) {
        return;
    }
    if (MsgText == MessageText::OnlineNotify) {
        AddUser(MsgOrigin);
        SendCommand(MsgOrigin, std::string(MessageText::OnlineResponse));
    } else if (MsgText == MessageText::OnlineResponse) {
        AddUser(MsgOrigin);
    } else if (MsgText == MessageText::OfflineNotify) {
        RemoveUser(MsgOrigin);
    }
}

void TMainMessenger::AddUser(const std::string& Name) {
    if (std::find(UserList.begin(), UserList.end(), Name) != UserList.end()) {
        return;
    }
    UserList.push_back(Name);
    DoUserListChange(UserList);
}

void TMainMessenger::RemoveUser(const std::string& Name) {
    const auto last = std::find(UserList.rbegin(), UserList.rend(), Name);
    if (last == UserList.rend()) {
        return;
    }
    UserList.erase(std::next(last).base());
    DoUserListChange(UserList);
}

void TMainMessenger::DoNewLine(const std::string& origin, const std::string& time, const std::string& line) {
    if (OnNewLine) {
        OnNewLine(*this, origin, time, line);
    }
}

void TMainMessenger::DoNewMemo(const std::string& origin, const std::string& time, const TStringList& msgLines) {
    if (OnNewMemo) {
        OnNewMemo(*this, origin, time, msgLines);
    }
}

void TMainMessenger::DoUserListChange(const TStringList& userList) {
    if (OnUserListChange) {
        OnUserListChange(*this, userList);
    }
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

std::unique_ptr<TSignalThread> TMainMessenger::StartSignalThread() {
    try {
        return std::make_unique<TSignalThread>(*this);
    } catch (const std::system_error&) {
        return nullptr;
    }
}

std::unique_ptr<TTimerThread> TMainMessenger::StartTimerThread() {
    try {
        return std::make_unique<TTimerThread>(*this);
    } catch (const std::system_error&) {
        return nullptr;
    }
}

void TMainMessenger::RetireThreads() {
    // Stop requests only: the user-interface thread never waits here for a worker, since a worker may
    // itself be waiting for the user-interface thread.
    if (SignalThread) {
        SignalThread->RequestStop();
        StoppedThreads.push_back(std::move(SignalThread));
    }
    if (TimerThread) {
        TimerThread->RequestStop();
        StoppedThreads.push_back(std::move(TimerThread));
    }
}

void TMainMessenger::JoinFinishedThreads() {
    std::erase_if(StoppedThreads, [](const std::unique_ptr<TWorkerThread>& thread) { return thread->Finished(); });
}
