// One computer of the simulated LAN: its mailbox transport, with switches for failure on demand.
#pragma once

#include <string>
#include <utility>

#include "messenger/MailslotTransport.h"
#include "messenger/transport/memory/MemoryLan.h"

class TMemoryComputer final : public TMailslotTransport {
public:
    TMemoryComputer(TMemoryLan& lan, std::string name) : Lan(lan), ComputerName(std::move(name)) {}

    const std::string& Name() const { return ComputerName; }

    /// When on, every CreateFile fails, as for a target the platform refuses.
    void SetOpenFails(bool on) { Lan.SetOpenFails(ComputerName, on); }
    /// When on, every write finds no room and sends nothing, as from a computer whose network is gone.
    void SetWriteFails(bool on) { Lan.SetWriteFails(ComputerName, on); }
    /// When off, WaitForDatagram answers CannotWait, as a mailbox that can only be polled.
    void SetCanWait(bool on) { Lan.SetCanWait(ComputerName, on); }
    /// Handles open now (own mailboxes and write handles).
    std::size_t OpenHandleCount() const { return Lan.OpenHandleCount(ComputerName); }
    /// Datagrams waiting in the open mailbox of that name (case-insensitive); 0 when none is open.
    std::size_t WaitingIn(const std::string& boxName) const { return Lan.WaitingIn(ComputerName, boxName); }

    TMailslotHandle CreateMailslot(std::string_view path, std::uint32_t maxMessageSize,
                                   std::uint32_t) override {
        return Lan.CreateMailslot(ComputerName, path, maxMessageSize);
    }
    std::optional<TMailslotInfo> GetMailslotInfo(TMailslotHandle mailbox) override {
        return Lan.GetMailslotInfo(ComputerName, mailbox);
    }
    std::optional<std::uint32_t> ReadFile(TMailslotHandle mailbox, std::span<char> buffer) override {
        return Lan.ReadFile(ComputerName, mailbox, buffer);
    }
    TMailslotHandle CreateFile(std::string_view path) override { return Lan.CreateFile(ComputerName, path); }
    TSendResult WriteFile(TMailslotHandle target, std::string_view bytes) override {
        return Lan.WriteFile(ComputerName, target, bytes);
    }
    void CloseHandle(TMailslotHandle handle) override { Lan.CloseHandle(ComputerName, handle); }
    TMailslotWait WaitForDatagram(TMailslotHandle mailbox, std::stop_token stop) override {
        return Lan.WaitForDatagram(ComputerName, mailbox, stop);
    }

private:
    TMemoryLan& Lan;
    const std::string ComputerName;
};
