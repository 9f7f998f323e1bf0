// The simulated LAN: every computer's handles and mailboxes, and the routing of each written datagram
// to the mailboxes it is addressed to.
#include "messenger/transport/memory/MemoryLan.h"

#include <algorithm>
#include <utility>

#include "messenger/AsciiText.h"
#include "messenger/MailslotPath.h"
#include "messenger/transport/memory/MemoryComputer.h"

TMemoryLan::TMemoryLan() = default;
TMemoryLan::~TMemoryLan() = default;

TMemoryComputer& TMemoryLan::AddComputer(const std::string& name) {
    std::lock_guard lock(Mutex);
    Hosts.try_emplace(name);
    Computers.push_back(std::make_unique<TMemoryComputer>(*this, name));
    return *Computers.back();
}

std::vector<TMemoryDatagram> TMemoryLan::Traffic() const {
    std::lock_guard lock(Mutex);
    return Written;
}

void TMemoryLan::SetRecording(bool on) {
    std::lock_guard lock(Mutex);
    Recording = on;
}

void TMemoryLan::ClearTraffic() {
    std::lock_guard lock(Mutex);
    Written.clear();
}

TMemoryLan::THost& TMemoryLan::Host(const std::string& computer) {
    return Hosts.at(computer);
}

const TMemoryLan::THost& TMemoryLan::Host(const std::string& computer) const {
    return Hosts.at(computer);
}

std::shared_ptr<TMemoryLan::TMailbox> TMemoryLan::FindMailbox(const THost& host, std::string_view boxName) {
    for (const auto& [handle, entry] : host.Handles) {
        if (entry.Mailbox && EqualsIgnoringCase(entry.Mailbox->BoxName, boxName)) {
            return entry.Mailbox;
        }
    }
    return nullptr;
}

std::shared_ptr<TMemoryLan::TMailbox> TMemoryLan::MailboxOf(const std::string& computer,
                                                            TMailslotHandle handle) {
    const auto& handles = Host(computer).Handles;
    const auto found = handles.find(handle);
    return found == handles.end() ? nullptr : found->second.Mailbox;
}

TMailslotHandle TMemoryLan::CreateMailslot(const std::string& computer, std::string_view path,
                                           std::uint32_t maxMessageSize) {
    const auto parsed = TMailslotPath::Parse(path);
    std::lock_guard lock(Mutex);
    THost& host = Host(computer);
    if (!parsed || !parsed->IsLocal() || FindMailbox(host, parsed->Box)) {
        return InvalidMailslotHandle;
    }
    auto mailbox = std::make_shared<TMailbox>();
    mailbox->BoxName = parsed->Box;
    mailbox->MaxMessageSize = maxMessageSize;
    const TMailslotHandle handle = NextHandle++;
    host.Handles.emplace(handle, THandleEntry{std::move(mailbox), {}});
    return handle;
}

std::optional<TMailslotInfo> TMemoryLan::GetMailslotInfo(const std::string& computer,
                                                         TMailslotHandle mailbox) {
    std::lock_guard lock(Mutex);
    const auto found = MailboxOf(computer, mailbox);
    if (!found) {
        return std::nullopt;
    }
    if (found->Datagrams.empty()) {
        return TMailslotInfo{0, 0};
    }
    return TMailslotInfo{static_cast<std::int32_t>(found->Datagrams.size()),
                         static_cast<std::uint32_t>(found->Datagrams.front().size())};
}

std::optional<std::uint32_t> TMemoryLan::ReadFile(const std::string& computer, TMailslotHandle mailbox,
                                                  std::span<char> buffer) {
    std::lock_guard lock(Mutex);
    const auto found = MailboxOf(computer, mailbox);
    // A datagram that does not fit stays where it is, as a mailbox refuses a short read.
    if (!found || found->Datagrams.empty() || found->Datagrams.front().size() > buffer.size()) {
        return std::nullopt;
    }
    const std::string datagram = std::move(found->Datagrams.front());
    found->Datagrams.pop_front();
    std::copy(datagram.begin(), datagram.end(), buffer.begin());
    return static_cast<std::uint32_t>(datagram.size());
}

TMailslotHandle TMemoryLan::CreateFile(const std::string& computer, std::string_view path) {
    const auto parsed = TMailslotPath::Parse(path);
    std::lock_guard lock(Mutex);
    THost& host = Host(computer);
    if (!parsed || host.OpenFails) {
        return InvalidMailslotHandle;
    }
    const TMailslotHandle handle = NextHandle++;
    host.Handles.emplace(handle, THandleEntry{nullptr, std::string(path)});
    return handle;
}

TSendResult TMemoryLan::WriteFile(const std::string& computer, TMailslotHandle target, std::string_view bytes) {
    std::lock_guard lock(Mutex);
    const THost& writer = std::as_const(*this).Host(computer);
    const auto found = writer.Handles.find(target);
    if (found == writer.Handles.end() || found->second.Mailbox) {
        return TSendResult::Refused("not a handle opened for writing");
    }
    if (writer.WriteFails) {
        return {TSendResult::TStatus::NoRoom, "no room to send"};
    }
    const std::string& path = found->second.TargetPath;
    const auto parsed = TMailslotPath::Parse(path);
    for (const auto& [name, host] : Hosts) {
        const bool addressed = parsed->IsBroadcast() || (parsed->IsLocal() && name == computer) ||
                               EqualsIgnoringCase(parsed->Server, name);
        const auto mailbox = addressed ? FindMailbox(host, parsed->Box) : nullptr;
        if (mailbox && (mailbox->MaxMessageSize == 0 || bytes.size() <= mailbox->MaxMessageSize)) {
            mailbox->Datagrams.emplace_back(bytes);
            mailbox->Changed.notify_all();
        }
    }
    if (Recording) {
        Written.push_back(TMemoryDatagram{computer, path, std::string(bytes)});
    }
    return TSendResult::Ok();
}

void TMemoryLan::CloseHandle(const std::string& computer, TMailslotHandle handle) {
    std::lock_guard lock(Mutex);
    auto& handles = Host(computer).Handles;
    const auto found = handles.find(handle);
    if (found == handles.end()) {
        return;
    }
    if (const auto& mailbox = found->second.Mailbox) {
        // Whatever still waits is lost with the mailbox; a waiting poller wakes and finds it gone.
        mailbox->Closed = true;
        mailbox->Datagrams.clear();
        mailbox->Changed.notify_all();
    }
    handles.erase(found);
}

TMailslotWait TMemoryLan::WaitForDatagram(const std::string& computer, TMailslotHandle mailbox,
                                          std::stop_token stop) {
    std::unique_lock lock(Mutex);
    const auto found = MailboxOf(computer, mailbox);
    if (!found || !Host(computer).CanWait) {
        return TMailslotWait::CannotWait;
    }
    const bool ready =
        found->Changed.wait(lock, stop, [&found] { return !found->Datagrams.empty() || found->Closed; });
    return ready ? TMailslotWait::DatagramWaiting : TMailslotWait::Stopped;
}

void TMemoryLan::SetOpenFails(const std::string& computer, bool on) {
    std::lock_guard lock(Mutex);
    Host(computer).OpenFails = on;
}

void TMemoryLan::SetWriteFails(const std::string& computer, bool on) {
    std::lock_guard lock(Mutex);
    Host(computer).WriteFails = on;
}

void TMemoryLan::SetCanWait(const std::string& computer, bool on) {
    std::lock_guard lock(Mutex);
    Host(computer).CanWait = on;
}

std::size_t TMemoryLan::OpenHandleCount(const std::string& computer) const {
    std::lock_guard lock(Mutex);
    return Host(computer).Handles.size();
}

std::size_t TMemoryLan::WaitingIn(const std::string& computer, std::string_view boxName) const {
    std::lock_guard lock(Mutex);
    const auto mailbox = FindMailbox(Host(computer), boxName);
    return mailbox ? mailbox->Datagrams.size() : 0;
}
