// The mailslot transport on UDP: NetBIOS datagrams carrying SMB mailslot writes, as Windows sends them.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "messenger/MailslotTransport.h"
#include "messenger/transport/udp/DatagramRouting.h"
#include "messenger/transport/udp/DatagramSender.h"
#include "messenger/transport/udp/FileDescriptor.h"
#include "messenger/transport/udp/Inbox.h"
#include "messenger/transport/udp/MailboxSockets.h"
#include "messenger/transport/udp/NetworkInterfaces.h"
#include "messenger/transport/udp/UdpSettings.h"
#include "messenger/transport/udp/UdpSocket.h"

class TUdpTransport final : public TMailslotTransport {
public:
    /// `computerName` is the name this computer answers to and writes as the source of its datagrams;
    /// `limits` bound the own mailbox's queue.
    TUdpTransport(std::string computerName, TUdpSettings settings, TInbox::TLimits limits = {});
    ~TUdpTransport() override;

    /// Why the last CreateMailslot failed, in words a user can act on; empty after a success.
    std::string LastError() const;
    /// The most message bytes one datagram carries under this box name.
    static std::size_t MaxMessageSize(const std::string& boxName);
    /// The UDP port the own mailbox is bound to (useful when the settings asked for port 0).
    std::uint16_t BoundPort() const;
    /// Opens the own mailbox's sockets now, for the next CreateMailslot: binding the ports needs
    /// privileges, which a program gives up before it starts any thread. A failure is told by that call.
    void OpenSockets();
    /// Asks the network once whether the computer name is in trouble: another computer answers to it, or
    /// nothing here does. The warning for the user, or empty.
    std::string CheckComputerName(std::chrono::milliseconds timeout) const;
    /// Whether a datagram can leave this computer now: some network to send on is up.
    bool ReachesOtherComputers();
    /// The own mailbox's receive buffer and the system's limit on it; zeros while no mailbox is open.
    TReceiveRoom ReceiveRoom() const;

    TMailslotHandle CreateMailslot(std::string_view path, std::uint32_t maxMessageSize,
                                   std::uint32_t readTimeout) override;
    std::optional<TMailslotInfo> GetMailslotInfo(TMailslotHandle mailbox) override;
    std::optional<std::uint32_t> ReadFile(TMailslotHandle mailbox, std::span<char> buffer) override;
    TMailslotHandle CreateFile(std::string_view path) override;
    TSendResult WriteFile(TMailslotHandle target, std::string_view bytes) override;
    void CloseHandle(TMailslotHandle handle) override;
    TMailslotWait WaitForDatagram(TMailslotHandle mailbox, std::stop_token stop) override;
    /// To this computer (by "." or its name), what one datagram carries; elsewhere no more than the settings'
    /// MaxMessageBytes either.
    std::size_t MaxWriteSize(std::string_view path) const override;

private:
    struct TMailbox;
    struct TTarget {
        std::string Server;
        std::string Box;
    };

    // The receiving half; called with Mutex held.
    std::shared_ptr<TMailbox> MailboxOf(TMailslotHandle handle) const;
    void Drain(TMailbox& mailbox);
    void Drain(TMailbox& mailbox, int socket);

    const std::string ComputerName;
    const TUdpSettings Settings;
    const TInbox::TLimits InboxLimits;
    std::atomic<TMailslotHandle> NextHandle{1};
    TPeerAddressBook Peers;  ///< learnt by the receiving half, read by the sending half; locks itself
    TDatagramSender Sender;  ///< the sending half, with a lock of its own

    // The receiving half: the poller drains the mailbox under this lock while sends go on.
    mutable std::mutex Mutex;
    std::condition_variable WaitEnded;
    std::map<TMailslotHandle, std::shared_ptr<TMailbox>> Mailboxes;
    std::uint16_t ListeningPort = 0;
    std::optional<TMailboxSockets> OpenedAhead;
    std::optional<std::string> NameServiceHolder;
    std::string CreateError;

    // Write handles: a path filed by CreateFile for its one write.
    std::mutex TargetsMutex;
    std::map<TMailslotHandle, TTarget> Targets;
};
