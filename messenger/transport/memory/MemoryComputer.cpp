// A computer of the simulated LAN: handle table, own mailboxes, writes routed through the LAN.
#include "messenger/transport/memory/MemoryComputer.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

#include "messenger/transport/memory/MemoryLan.h"

TMemoryComputer::TMemoryComputer(TMemoryLan& lan, std::string name) : Lan(lan), ComputerName(std::move(name)) {}

void TMemoryComputer::SetOpenFails(bool on) {
    std::lock_guard lock(Lan.Mutex);
    OpenFails = on;
}

void TMemoryComputer::SetCanWait(bool on) {
    std::lock_guard lock(Lan.Mutex);
    CanWait = on;
}

std::size_t TMemoryComputer::OpenHandleCount() const {
    std::lock_guard lock(Lan.Mutex);
    return Handles.size();
}

std::size_t TMemoryComputer::WaitingIn(const std::string& boxName) const {
    std::lock_guard lock(Lan.Mutex);
    const auto mailbox = FindMailbox(boxName);
    return mailbox ? mailbox->Datagrams.size() : 0;
}

std::shared_ptr<TMemoryComputer::TMailbox> TMemoryComputer::FindMailbox(std::string_view boxName) const {
    for (const auto& [handle, entry] : Handles) {
        if (entry.Mailbox && EqualsIgnoringCase(entry.Mailbox->BoxName, boxName)) {
            return entry.Mailbox;
        }
    }
    return nullptr;
}

std::shared_ptr<TMemoryComputer::TMailbox> TMemoryComputer::MailboxOf(TMailslotHandle handle) const {
    const auto found = Handles.find(handle);
    return found == Handles.end() ? nullptr : found->second.Mailbox;
}

void TMemoryComputer::Receive(const std::string& boxName, std::string bytes) {
    const auto mailbox = FindMailbox(boxName);
    if (!mailbox || (mailbox->MaxMessageSize != 0 && bytes.size() > mailbox->MaxMessageSize)) {
        return;
    }
    mailbox->Datagrams.push_back(std::move(bytes));
    mailbox->Changed.notify_all();
}

TMailslotHandle TMemoryComputer::CreateMailslot(std::string_view path, std::uint32_t maxMessageSize,
                                                std::uint32_t /*readTimeout*/) {
    const auto parsed = TMailslotPath::Parse(path);
    std::lock_guard lock(Lan.Mutex);
    if (!parsed || !parsed->IsLocal() || FindMailbox(parsed->Box)) {
        return InvalidMailslotHandle;
    }
    auto mailbox = std::make_shared<TMailbox>();
    mailbox->BoxName = parsed->Box;
    mailbox->MaxMessageSize = maxMessageSize;
    const TMailslotHandle handle = NextHandle++;
    Handles.emplace(handle, THandleEntry{std::move(mailbox), {}});
    return handle;
}

std::optional<TMailslotInfo> TMemoryComputer::GetMailslotInfo(TMailslotHandle mailbox) {
    std::lock_guard lock(Lan.Mutex);
    const auto found = MailboxOf(mailbox);
    if (!found) {
        return std::nullopt;
    }
    if (found->Datagrams.empty()) {
        return TMailslotInfo{0, 0};
    }
    return TMailslotInfo{static_cast<std::int32_t>(found->Datagrams.size()),
                         static_cast<std::uint32_t>(found->Datagrams.front().size())};
}

std::optional<std::uint32_t> TMemoryComputer::ReadFile(TMailslotHandle mailbox, std::span<char> buffer) {
    std::lock_guard lock(Lan.Mutex);
    const auto found = MailboxOf(mailbox);
    // A datagram that does not fit stays where it is, as a mailbox refuses a short read.
    if (!found || found->Datagrams.empty() || found->Datagrams.front().size() > buffer.size()) {
        return std::nullopt;
    }
    const std::string datagram = std::move(found->Datagrams.front());
    found->Datagrams.pop_front();
    std::copy(datagram.begin(), datagram.end(), buffer.begin());
    return static_cast<std::uint32_t>(datagram.size());
}

TMailslotHandle TMemoryComputer::CreateFile(std::string_view path) {
    const auto parsed = TMailslotPath::Parse(path);
    std::lock_guard lock(Lan.Mutex);
    if (!parsed || OpenFails) {
        return InvalidMailslotHandle;
    }
    const TMailslotHandle handle = NextHandle++;
    Handles.emplace(handle, THandleEntry{nullptr, std::string(path)});
    return handle;
}

bool TMemoryComputer::WriteFile(TMailslotHandle target, std::string_view bytes) {
    std::lock_guard lock(Lan.Mutex);
    const auto found = Handles.find(target);
    if (found == Handles.end() || found->second.Mailbox) {
        return false;
    }
    const auto parsed = TMailslotPath::Parse(found->second.TargetPath);
    Lan.Deliver(ComputerName, *parsed, TMemoryDatagram{ComputerName, found->second.TargetPath, std::string(bytes)});
    return true;
}

void TMemoryComputer::CloseHandle(TMailslotHandle handle) {
    std::lock_guard lock(Lan.Mutex);
    const auto found = Handles.find(handle);
    if (found == Handles.end()) {
        return;
    }
    if (found->second.Mailbox) {
        // Whatever still waits is lost with the mailbox; a waiting poller wakes and finds it gone.
        found->second.Mailbox->Closed = true;
        found->second.Mailbox->Datagrams.clear();
        found->second.Mailbox->Changed.notify_all();
    }
    Handles.erase(found);
}

TMailslotWait TMemoryComputer::WaitForDatagram(TMailslotHandle mailbox, std::stop_token stop) {
    std::unique_lock lock(Lan.Mutex);
    const auto found = MailboxOf(mailbox);
    if (!found || !CanWait) {
        return TMailslotWait::CannotWait;
    }
    const bool ready =
        found->Changed.wait(lock, stop, [&found] { return !found->Datagrams.empty() || found->Closed; });
    return ready ? TMailslotWait::DatagramWaiting : TMailslotWait::Stopped;
}
