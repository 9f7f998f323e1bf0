// A simulated LAN in one process: computers with named mailboxes, broadcast and direct delivery. The LAN
// owns every mailbox behind its one lock; each computer's transport only forwards to it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "messenger/MailslotTransport.h"

class TMemoryComputer;

/// One datagram as it was written to the LAN.
struct TMemoryDatagram {
    std::string From;  ///< the writing computer
    std::string Path;  ///< the path it was sent to, as text
    std::string Bytes;
};

class TMemoryLan {
public:
    TMemoryLan();
    ~TMemoryLan();
    TMemoryLan(const TMemoryLan&) = delete;
    TMemoryLan& operator=(const TMemoryLan&) = delete;

    /// Adds a computer; its transport lives as long as the LAN.
    TMemoryComputer& AddComputer(const std::string& name);

    /// Every write so far, in order (kept only while recording is on, as it is by default).
    std::vector<TMemoryDatagram> Traffic() const;
    void SetRecording(bool on);
    void ClearTraffic();

    // The transport operations and switches of one computer, as its TMemoryComputer forwards them.
    TMailboxId OpenMailbox(const std::string& computer, std::string_view box);
    std::optional<TMailslotInfo> Pending(const std::string& computer, TMailboxId mailbox);
    std::optional<std::uint32_t> Take(const std::string& computer, TMailboxId mailbox,
                                      std::span<char> buffer);
    TSendResult Send(const std::string& computer, const TMailslotPath& target, std::string_view bytes);
    void Close(const std::string& computer, TMailboxId mailbox);
    TMailslotWait Wait(const std::string& computer, TMailboxId mailbox, std::stop_token stop);
    void SetOpenFails(const std::string& computer, bool on);
    void SetWriteFails(const std::string& computer, bool on);
    void SetCanWait(const std::string& computer, bool on);
    std::size_t OpenMailboxCount(const std::string& computer) const;
    std::size_t WaitingIn(const std::string& computer, std::string_view boxName) const;

private:
    struct TMailbox {
        std::string BoxName;
        std::deque<std::string> Datagrams;
        bool Closed = false;
        std::condition_variable_any Changed;
    };
    struct THost {
        std::map<TMailboxId, std::shared_ptr<TMailbox>> Mailboxes;
        bool OpenFails = false;
        bool WriteFails = false;
        bool CanWait = true;
    };

    // Called with Mutex held.
    THost& Host(const std::string& computer);
    const THost& Host(const std::string& computer) const;
    static std::shared_ptr<TMailbox> FindMailbox(const THost& host, std::string_view boxName);
    std::shared_ptr<TMailbox> MailboxOf(const std::string& computer, TMailboxId mailbox);

    mutable std::mutex Mutex;
    std::vector<std::unique_ptr<TMemoryComputer>> Computers;
    std::map<std::string, THost> Hosts;
    TMailboxId NextMailbox = 1;
    std::vector<TMemoryDatagram> Written;
    bool Recording = true;
};
