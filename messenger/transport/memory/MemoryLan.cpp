// The simulated LAN: every computer's mailboxes, and the routing of each sent datagram
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
    for (const auto& [id, mailbox] : host.Mailboxes) {
        if (EqualsIgnoringCase(mailbox->BoxName, boxName)) {
            return mailbox;
        }
    }
    return nullptr;
}

std::shared_ptr<TMemoryLan::TMailbox> TMemoryLan::MailboxOf(const std::string& computer, TMailboxId mailbox) {
    const auto& mailboxes = Host(computer).Mailboxes;
    const auto found = mailboxes.find(mailbox);
    return found == mailboxes.end() ? nullptr : found->second;
}

TMailboxId TMemoryLan::OpenMailbox(const std::string& computer, std::string_view box) {
    std::lock_guard lock(Mutex);
    THost& host = Host(computer);
    if (!TMailslotPath{".", std::string(box)}.Valid() || FindMailbox(host, box)) {
        return InvalidMailboxId;
    }
    auto mailbox = std::make_shared<TMailbox>();
    mailbox->BoxName = box;
    const TMailboxId id = NextMailbox++;
    host.Mailboxes.emplace(id, std::move(mailbox));
    return id;
}

std::optional<TMailslotInfo> TMemoryLan::Pending(const std::string& computer, TMailboxId mailbox) {
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

std::optional<std::uint32_t> TMemoryLan::Take(const std::string& computer, TMailboxId mailbox,
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

TSendResult TMemoryLan::Send(const std::string& computer, const TMailslotPath& target,
                             std::string_view bytes) {
    std::lock_guard lock(Mutex);
    const THost& writer = std::as_const(*this).Host(computer);
    if (!target.Valid() || writer.OpenFails) {
        return TSendResult::Unopened("the target cannot be opened");
    }
    if (writer.WriteFails) {
        return {TSendResult::TStatus::NoRoom, "no room to send"};
    }
    for (const auto& [name, host] : Hosts) {
        const bool addressed = target.IsBroadcast() || (target.IsLocal() && name == computer) ||
                               EqualsIgnoringCase(target.Server, name);
        if (const auto mailbox = addressed ? FindMailbox(host, target.Box) : nullptr) {
            mailbox->Datagrams.emplace_back(bytes);
            mailbox->Changed.notify_all();
        }
    }
    if (Recording) {
        Written.push_back(TMemoryDatagram{computer, target.ToString(), std::string(bytes)});
    }
    return TSendResult::Ok();
}

void TMemoryLan::Close(const std::string& computer, TMailboxId mailbox) {
    std::lock_guard lock(Mutex);
    auto& mailboxes = Host(computer).Mailboxes;
    const auto found = mailboxes.find(mailbox);
    if (found == mailboxes.end()) {
        return;
    }
    // Whatever still waits is lost with the mailbox; a waiting poller wakes and finds it gone.
    found->second->Closed = true;
    found->second->Datagrams.clear();
    found->second->Changed.notify_all();
    mailboxes.erase(found);
}

TMailslotWait TMemoryLan::Wait(const std::string& computer, TMailboxId mailbox, std::stop_token stop) {
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

std::size_t TMemoryLan::OpenMailboxCount(const std::string& computer) const {
    std::lock_guard lock(Mutex);
    return Host(computer).Mailboxes.size();
}

std::size_t TMemoryLan::WaitingIn(const std::string& computer, std::string_view boxName) const {
    std::lock_guard lock(Mutex);
    const auto mailbox = FindMailbox(Host(computer), boxName);
    return mailbox ? mailbox->Datagrams.size() : 0;
}
