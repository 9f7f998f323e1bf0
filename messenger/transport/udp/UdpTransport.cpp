// The UDP mailslot transport: own mailbox socket, decoding and queueing, sending to one or to all.
#include "messenger/transport/udp/UdpTransport.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "messenger/MailslotPath.h"
#include "messenger/transport/udp/Ipv4UdpPacket.h"
#include "messenger/transport/udp/MailslotDatagram.h"
#include "messenger/transport/udp/NameResponder.h"
#include "messenger/transport/udp/NetworkWatch.h"
#include "messenger/transport/udp/UdpSocket.h"

namespace {

constexpr int MaxDrainPerQuery = 256;

// What one read from the mailbox's socket holds for the decoder: all of it from a UDP socket; from a raw
// one, the payload of a datagram to the mailbox's port. Anything else reads as empty and is dropped.
std::string_view MailboxPayload(const TMailboxSockets& sockets, std::string_view read) {
    if (!sockets.Raw) {
        return read;
    }
    const auto packet = ParseIpv4Udp(read);
    const auto& only = sockets.RawDestinations;
    const bool taken = packet && packet->DestinationPort == sockets.ReceivePort &&
                       (only.empty() || std::ranges::find(only, packet->Destination) != only.end());
    return taken ? packet->Payload : std::string_view();
}

}  // namespace

struct TUdpTransport::TMailbox {
    TMailbox(std::string boxName, const std::string& computerName, TInbox::TLimits limits)
        : Inbox(std::move(boxName), computerName, limits) {}

    TMailboxSockets Sockets;
    TWakeEvent Wake;
    TInbox Inbox;
    // Room for one more byte than a datagram can carry, and for the headers of a raw read.
    std::vector<char> ReceiveBuffer = std::vector<char>(MaxIpv4UdpHeaderSize + MaxUdpPayloadSize + 1);
    int Waiters = 0;
    bool Closed = false;
    std::unique_ptr<TNameResponder> Responder;
    std::unique_ptr<TNetworkWatch> Networks;
};

TUdpTransport::TUdpTransport(std::string computerName, TUdpSettings settings, TInbox::TLimits limits)
    : ComputerName(std::move(computerName)),
      Settings(std::move(settings)),
      InboxLimits(limits),
      Sender(ComputerName, Settings, Peers) {}

TUdpTransport::~TUdpTransport() {
    std::vector<TMailboxId> open;
    {
        std::lock_guard lock(Mutex);
        for (const auto& [id, mailbox] : Mailboxes) {
            open.push_back(id);
        }
    }
    for (const auto id : open) {
        Close(id);
    }
}

std::string TUdpTransport::LastError() const {
    std::lock_guard lock(Mutex);
    return OpenError;
}

std::size_t TUdpTransport::MaxMessageSize(const std::string& boxName) {
    return MaxMailslotDataSize(MailslotWireName(boxName).size());
}

std::size_t TUdpTransport::MaxWriteSize(const TMailslotPath& target) const {
    const std::size_t datagram = MaxMessageSize(target.Box);
    return IsThisComputer(target.Server, ComputerName) ? datagram
                                                       : std::min(datagram, Settings.MaxMessageBytes);
}

std::uint16_t TUdpTransport::BoundPort() const {
    std::lock_guard lock(Mutex);
    return ListeningPort;
}

void TUdpTransport::OpenSockets() {
    std::lock_guard lock(Mutex);
    if (Mailboxes.empty() && !OpenedAhead) {
        OpenedAhead = OpenMailboxSockets(Settings);
    }
}

std::string TUdpTransport::CheckComputerName(std::chrono::milliseconds timeout) const {
    const auto nameServer = [this] {
        std::lock_guard lock(Mutex);
        return NameServiceHolder;
    }();
    return NameWarning(ComputerName, FindNameHolders(ComputerName, Settings, timeout), nameServer,
                       Settings.NameServicePort);
}

bool TUdpTransport::ReachesOtherComputers() {
    return Sender.ReachesOtherComputers();
}

TReceiveRoom TUdpTransport::ReceiveRoom() const {
    std::lock_guard lock(Mutex);
    // One mailbox at most: one UDP port carries one.
    return Mailboxes.empty() ? TReceiveRoom{} : ReceiveRoomOf(Mailboxes.begin()->second->Sockets.Receiver.Get());
}

TMailboxId TUdpTransport::OpenMailbox(std::string_view box) {
    const TMailslotPath path{".", std::string(box)};
    std::lock_guard lock(Mutex);
    if (!path.Valid()) {
        OpenError = "not a mailbox name: " + path.Box;
        return InvalidMailboxId;
    }
    // One UDP port carries one mailbox.
    if (!Mailboxes.empty()) {
        OpenError = "this program has a mailbox open on UDP port " + std::to_string(ListeningPort);
        return InvalidMailboxId;
    }
    auto mailbox = std::make_shared<TMailbox>(path.Box, ComputerName, InboxLimits);
    TMailboxSockets opened = OpenedAhead ? std::move(*OpenedAhead) : OpenMailboxSockets(Settings);
    OpenedAhead.reset();
    if (!mailbox->Wake.Valid() || !opened.Error.empty()) {
        OpenError = mailbox->Wake.Valid() ? opened.Error : "cannot create a wake-up event";
        return InvalidMailboxId;
    }
    ListeningPort = opened.ReceivePort;
    NameServiceHolder = opened.NameServiceHolder;
    mailbox->Responder = TNameResponder::Start(
        std::move(opened.NameService), std::move(opened.NameServiceBroadcast), ComputerName, Settings);
    mailbox->Sockets = std::move(opened);
    mailbox->Networks = std::make_unique<TNetworkWatch>(Settings.Interfaces);
    Sender.Use(mailbox->Sockets.SendSocket(), mailbox->Sockets.SendPort);
    OpenError.clear();
    const TMailboxId id = NextMailbox++;
    Mailboxes.emplace(id, std::move(mailbox));
    return id;
}

std::shared_ptr<TUdpTransport::TMailbox> TUdpTransport::MailboxOf(TMailboxId id) const {
    const auto found = Mailboxes.find(id);
    return found == Mailboxes.end() || found->second->Closed ? nullptr : found->second;
}

void TUdpTransport::Drain(TMailbox& mailbox) {
    Drain(mailbox, mailbox.Sockets.Receiver.Get());
    if (mailbox.Sockets.BroadcastReceiver.Valid()) {
        Drain(mailbox, mailbox.Sockets.BroadcastReceiver.Get());
    }
}

void TUdpTransport::Drain(TMailbox& mailbox, int socket) {
    // Bounded, so a flood cannot hold the lock (and every send) for as long as it lasts; and nothing is
    // taken from the kernel that the queue cannot keep, so a burst waits in the socket's large buffer.
    for (int taken = 0; taken < MaxDrainPerQuery; ++taken) {
        // Near the queue's limits a datagram is only looked at first: taken, it would be lost. It waits
        // for the messages ahead of it to be read, unless there are none and it can never fit.
        const bool look = !mailbox.Inbox.HasRoomFor(MaxUdpPayloadSize);
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const auto received =
            recvfrom(socket, mailbox.ReceiveBuffer.data(), mailbox.ReceiveBuffer.size(),
                     MSG_DONTWAIT | (look ? MSG_PEEK : 0), reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (received < 0) {
            // A socket that reports its send errors tells here, once, of an ICMP answer to an earlier
            // datagram; the datagrams behind it are still there.
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                return;
            }
            continue;
        }
        const auto datagram = DecodeMailslotDatagram(MailboxPayload(
            mailbox.Sockets, {mailbox.ReceiveBuffer.data(), static_cast<std::size_t>(received)}));
        if (look) {
            if (mailbox.Inbox.Count() > 0 &&
                !mailbox.Inbox.HasRoomFor(datagram ? datagram->Data.size() : 0)) {
                return;
            }
            recv(socket, nullptr, 0, MSG_DONTWAIT);  // takes the datagram just looked at
        }
        if (!datagram) {
            continue;
        }
        // Where a computer's datagrams come from is where a datagram to it goes; learnt only from what this
        // mailbox keeps, so a write to another box or name cannot redirect anyone's memos.
        if (mailbox.Inbox.Offer(*datagram, TInbox::TClock::now())) {
            LearnSender(Peers, *datagram, ntohl(from.sin_addr.s_addr));
        }
    }
}

std::optional<TMailslotInfo> TUdpTransport::Pending(TMailboxId mailbox) {
    std::lock_guard lock(Mutex);
    const auto found = MailboxOf(mailbox);
    if (!found) {
        return std::nullopt;
    }
    Drain(*found);
    return TMailslotInfo{static_cast<std::int32_t>(found->Inbox.Count()),
                         static_cast<std::uint32_t>(found->Inbox.NextSize().value_or(0))};
}

std::optional<std::uint32_t> TUdpTransport::Take(TMailboxId mailbox, std::span<char> buffer) {
    std::lock_guard lock(Mutex);
    const auto found = MailboxOf(mailbox);
    if (!found) {
        return std::nullopt;
    }
    const auto message = found->Inbox.Take(buffer.size());
    if (!message) {
        return std::nullopt;
    }
    std::copy(message->begin(), message->end(), buffer.begin());
    return static_cast<std::uint32_t>(message->size());
}

TSendResult TUdpTransport::Send(const TMailslotPath& target, std::string_view bytes) {
    if (!target.Valid()) {
        return TSendResult::Unopened("not a mailbox path: " + target.ToString());
    }
    return Sender.Send(target.Server, target.Box, bytes);
}

void TUdpTransport::Close(TMailboxId id) {
    std::unique_ptr<TNameResponder> responder;
    {
        std::unique_lock lock(Mutex);
        const auto found = Mailboxes.find(id);
        if (found == Mailboxes.end()) {
            return;
        }
        const auto mailbox = found->second;
        mailbox->Closed = true;
        mailbox->Wake.Signal();
        // The port must be free when this returns, so that a restart can bind it again; a poller
        // blocked on the socket leaves at once on the wake event.
        WaitEnded.wait(lock, [&mailbox] { return mailbox->Waiters == 0; });
        // A send under way finishes on the socket first; the next one leaves from a port of its own.
        Sender.StopUsing();
        mailbox->Sockets = TMailboxSockets();
        responder = std::move(mailbox->Responder);
        Mailboxes.erase(found);
    }
}

TMailslotWait TUdpTransport::Wait(TMailboxId mailbox, std::stop_token stop) {
    std::shared_ptr<TMailbox> found;
    pollfd fds[4] = {};
    {
        std::lock_guard lock(Mutex);
        found = MailboxOf(mailbox);
        if (!found) {
            return TMailslotWait::CannotWait;
        }
        if (found->Inbox.Count() > 0) {
            return TMailslotWait::DatagramWaiting;
        }
        ++found->Waiters;
        fds[0] = {found->Sockets.Receiver.Get(), POLLIN, 0};
        fds[1] = {found->Wake.Get(), POLLIN, 0};
        // poll() passes over a descriptor of -1: no watch, or no broadcast socket.
        fds[2] = {found->Networks->Get(), POLLIN, 0};
        fds[3] = {found->Sockets.BroadcastReceiver.Get(), POLLIN, 0};
    }
    bool networkAppeared = false;
    {
        std::stop_callback wake(stop, [&found] { found->Wake.Signal(); });
        // A network notice that brings nothing new (an address gone, a link down) is slept through.
        do {
            int ready = 0;
            while ((ready = poll(fds, 4, found->Networks->MillisecondsToNextAnnouncement())) < 0 &&
                   errno == EINTR) {
            }
            if (ready == 0) {
                networkAppeared = found->Networks->TakeDueAnnouncement();
            } else if ((fds[0].revents & POLLERR) != 0) {
                // ICMP answers to what this copy sent: nothing to read, and nothing to wake for again.
                DiscardSendErrors(fds[0].fd);
                fds[0].revents &= ~POLLERR;
            } else if ((fds[2].revents & POLLIN) != 0) {
                networkAppeared = found->Networks->TakeChanges();
                Sender.ForgetInterfaces();  // sends follow the networks as they are now
            }
        } while (!networkAppeared && fds[0].revents == 0 && fds[1].revents == 0 && fds[3].revents == 0);
    }
    {
        std::lock_guard lock(Mutex);
        found->Wake.Clear();
        --found->Waiters;
    }
    WaitEnded.notify_all();
    if (stop.stop_requested()) {
        return TMailslotWait::Stopped;
    }
    return networkAppeared ? TMailslotWait::NetworkChanged : TMailslotWait::DatagramWaiting;
}
