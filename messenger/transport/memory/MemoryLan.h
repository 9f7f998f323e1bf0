// A simulated LAN in one process: computers with named mailboxes, broadcast and direct delivery. The LAN
// owns every mailbox and handle behind its one lock; each computer's transport only forwards to it.
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
    std::string Path;  ///< the path it was opened as
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
    TMailslotHandle CreateMailslot(const std::string& computer, std::string_view path,
                                   std::uint32_t maxMessageSize);
    std::optional<TMailslotInfo> GetMailslotInfo(const std::string& computer, TMailslotHandle mailbox);
    std::optional<std::uint32_t> ReadFile(const std::string& computer, TMailslotHandle mailbox,
                                          std::span<char> buffer);
    TMailslotHandle CreateFile(const std::string& computer, std::string_view path);
    TSendResult WriteFile(const std::string& computer, TMailslotHandle target, std::string_view bytes);
    void CloseHandle(const std::string& computer, TMailslotHandle handle);
    TMailslotWait WaitForDatagram(const std::string& computer, TMailslotHandle mailbox, std::stop_token stop);
    void SetOpenFails(const std::string& computer, bool on);
    void SetWriteFails(const std::string& computer, bool on);
    void SetCanWait(const std::string& computer, bool on);
    std::size_t OpenHandleCount(const std::string& computer) const;
    std::size_t WaitingIn(const std::string& computer, std::string_view boxName) const;

private:
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
    struct THost {
        std::map<TMailslotHandle, THandleEntry> Handles;
        bool OpenFails = false;
        bool WriteFails = false;
        bool CanWait = true;
    };

    // Called with Mutex held.
    THost& Host(const std::string& computer);
    const THost& Host(const std::string& computer) const;
    static std::shared_ptr<TMailbox> FindMailbox(const THost& host, std::string_view boxName);
    std::shared_ptr<TMailbox> MailboxOf(const std::string& computer, TMailslotHandle handle);

    mutable std::mutex Mutex;
    std::vector<std::unique_ptr<TMemoryComputer>> Computers;
    std::map<std::string, THost> Hosts;
    TMailslotHandle NextHandle = 1;
    std::vector<TMemoryDatagram> Written;
    bool Recording = true;
};
