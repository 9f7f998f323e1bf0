// One computer of the simulated LAN: its mailbox transport, with switches for failure on demand.
#pragma once

#include <limits>
#include <string>
#include <utility>

#include "messenger/MailslotTransport.h"
#include "messenger/transport/memory/MemoryLan.h"

class TMemoryComputer final : public TMailslotTransport {
public:
    TMemoryComputer(TMemoryLan& lan, std::string name) : Lan(lan), ComputerName(std::move(name)) {}

    const std::string& Name() const { return ComputerName; }

    /// When on, every send finds its target unopenable, as one the platform refuses.
    void SetOpenFails(bool on) { Lan.SetOpenFails(ComputerName, on); }
    /// When on, every send finds no room and sends nothing, as from a computer whose network is gone.
    void SetWriteFails(bool on) { Lan.SetWriteFails(ComputerName, on); }
    /// When off, Wait answers CannotWait, as a mailbox that can only be polled.
    void SetCanWait(bool on) { Lan.SetCanWait(ComputerName, on); }
    /// Own mailboxes open now.
    std::size_t OpenMailboxCount() const { return Lan.OpenMailboxCount(ComputerName); }
    /// Datagrams waiting in the open mailbox of that name (case-insensitive); 0 when none is open.
    std::size_t WaitingIn(const std::string& boxName) const { return Lan.WaitingIn(ComputerName, boxName); }

    TMailboxId OpenMailbox(std::string_view box) override { return Lan.OpenMailbox(ComputerName, box); }
    std::optional<TMailslotInfo> Pending(TMailboxId mailbox) override {
        return Lan.Pending(ComputerName, mailbox);
    }
    std::optional<std::uint32_t> Take(TMailboxId mailbox, std::span<char> buffer) override {
        return Lan.Take(ComputerName, mailbox, buffer);
    }
    TSendResult Send(const TMailslotPath& target, std::string_view bytes) override {
        return Lan.Send(ComputerName, target, bytes);
    }
    void Close(TMailboxId mailbox) override { Lan.Close(ComputerName, mailbox); }
    TMailslotWait Wait(TMailboxId mailbox, std::stop_token stop) override {
        return Lan.Wait(ComputerName, mailbox, stop);
    }
    /// As Windows mailslots take it: 424 bytes to other computers, any size to this one (`\\.\`).
    std::size_t MaxWriteSize(const TMailslotPath& target) const override {
        return target.IsLocal() ? std::numeric_limits<std::size_t>::max() : WindowsMaxMessageSize;
    }

private:
    TMemoryLan& Lan;
    const std::string ComputerName;
};
