// The mailslot transport on UDP: NetBIOS datagrams carrying SMB mailslot writes, as Windows sends them.
#pragma once

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

    /// Why the last OpenMailbox failed, in words a user can act on; empty after a success.
    std::string LastError() const;
    /// The most message bytes one datagram carries under this box name.
    static std::size_t MaxMessageSize(const std::string& boxName);
    /// The UDP port the own mailbox is bound to (useful when the settings asked for port 0).
    std::uint16_t BoundPort() const;
    /// Opens the own mailbox's sockets now, for the next OpenMailbox: binding the ports needs
    /// privileges, which a program gives up before it starts any thread. A failure is told by that call.
    void OpenSockets();
    /// Asks the network once whether the computer name is in trouble: another computer answers to it, or
    /// nothing here does. The warning for the user, or empty.
    std::string CheckComputerName(std::chrono::milliseconds timeout) const;
    /// Whether a datagram can leave this computer now: some network to send on is up.
    bool ReachesOtherComputers();
    /// The own mailbox's receive buffer and the system's limit on it; zeros while no mailbox is open.
    TReceiveRoom ReceiveRoom() const;

    TMailboxId OpenMailbox(std::string_view box) override;
    std::optional<TMailslotInfo> Pending(TMailboxId mailbox) override;
    std::optional<std::uint32_t> Take(TMailboxId mailbox, std::span<char> buffer) override;
    TSendResult Send(const TMailslotPath& target, std::string_view bytes) override;
    void Close(TMailboxId mailbox) override;
    TMailslotWait Wait(TMailboxId mailbox, std::stop_token stop) override;
    /// To this computer (by "." or its name), what one datagram carries; elsewhere no more than the settings'
    /// MaxMessageBytes either.
    std::size_t MaxWriteSize(const TMailslotPath& target) const override;

private:
    struct TMailbox;

    // The receiving half; called with Mutex held.
    std::shared_ptr<TMailbox> MailboxOf(TMailboxId id) const;
    void Drain(TMailbox& mailbox);
    void Drain(TMailbox& mailbox, int socket);

    const std::string ComputerName;
    const TUdpSettings Settings;
    const TInbox::TLimits InboxLimits;
    TPeerAddressBook Peers;  ///< learnt by the receiving half, read by the sending half; locks itself
    TDatagramSender Sender;  ///< the sending half, with a lock of its own

    // The receiving half: the poller drains the mailbox under this lock while sends go on.
    mutable std::mutex Mutex;
    std::condition_variable WaitEnded;
    std::map<TMailboxId, std::shared_ptr<TMailbox>> Mailboxes;
    TMailboxId NextMailbox = 1;
    std::uint16_t ListeningPort = 0;
    std::optional<TMailboxSockets> OpenedAhead;
    std::optional<std::string> NameServiceHolder;
    std::string OpenError;
};
