// One computer of the simulated LAN: its mailbox transport, with switches for failure on demand.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "messenger/MailslotPath.h"
#include "messenger/MailslotTransport.h"

class TMemoryLan;

class TMemoryComputer final : public TMailslotTransport {
public:
    TMemoryComputer(TMemoryLan& lan, std::string name);

    const std::string& Name() const { return ComputerName; }

    /// When on, every CreateFile fails, as for a target the platform refuses.
    void SetOpenFails(bool on);
    /// When off, WaitForDatagram answers CannotWait, as a mailbox that can only be polled.
    void SetCanWait(bool on);
    /// Handles open now (own mailboxes and write handles).
    std::size_t OpenHandleCount() const;
    /// Datagrams waiting in the open mailbox of that name (case-insensitive); 0 when none is open.
    std::size_t WaitingIn(const std::string& boxName) const;

    TMailslotHandle CreateMailslot(std::string_view path, std::uint32_t maxMessageSize,
                                   std::uint32_t readTimeout) override;
    std::optional<TMailslotInfo> GetMailslotInfo(TMailslotHandle mailbox) override;
    std::optional<std::uint32_t> ReadFile(TMailslotHandle mailbox, std::span<char> buffer) override;
    TMailslotHandle CreateFile(std::string_view path) override;
    bool WriteFile(TMailslotHandle target, std::string_view bytes) override;
    void CloseHandle(TMailslotHandle handle) override;
    TMailslotWait WaitForDatagram(TMailslotHandle mailbox, std::stop_token stop) override;

private:
    friend class TMemoryLan;

    struct TMailbox {
        std::string BoxName;
        std::uint32_t MaxMessageSize = 0;
        std::deque<std::string> Datagrams;
        bool Closed = false;
        std::condition_variable_any Changed;
    };
    struct THandleEntry {
        std::shared_ptr<TMailbox> Mailbox;  ///< set for an own mailbox
        std::string TargetPath;             ///< set for a write handle
    };

    // Called with the LAN's mutex held.
    std::shared_ptr<TMailbox> FindMailbox(std::string_view boxName) const;
    std::shared_ptr<TMailbox> MailboxOf(TMailslotHandle handle) const;
    void Receive(const std::string& boxName, std::string bytes);

    TMemoryLan& Lan;
    const std::string ComputerName;
    std::map<TMailslotHandle, THandleEntry> Handles;
    TMailslotHandle NextHandle = 1;
    bool OpenFails = false;
    bool CanWait = true;
};
