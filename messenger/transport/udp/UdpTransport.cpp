// The UDP mailslot transport: own mailbox socket, decoding and queueing, sending to one or to all.
#include "messenger/transport/udp/UdpTransport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include "messenger/MailslotPath.h"
#include "messenger/transport/udp/Inbox.h"
#include "messenger/transport/udp/MailslotDatagram.h"
#include "messenger/transport/udp/NameResponder.h"
#include "messenger/transport/udp/NetworkInterfaces.h"
#include "messenger/transport/udp/WakeEvent.h"

namespace {

// A burst of a few thousand memos must wait in the kernel until the poller gets to it.
constexpr int ReceiveBufferBytes = 8 << 20;
constexpr int MaxDrainPerQuery = 256;
// Interfaces rarely change; listing them costs about 90 us, too much to pay for every datagram.
constexpr auto InterfaceListLifetime = std::chrono::seconds(2);

sockaddr_in SocketAddress(std::uint32_t address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

bool SendTo(int socket, const std::string& bytes, std::uint32_t address, std::uint16_t port) {
    const sockaddr_in to = SocketAddress(address, port);
    return sendto(socket, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
           static_cast<ssize_t>(bytes.size());
}

std::string BindFailure(int error, std::uint16_t port) {
    const std::string where = "UDP port " + std::to_string(port);
    if (error == EADDRINUSE) {
        return where + " is in use (is another copy running on this computer?)";
    }
    if (error == EACCES || error == EPERM) {
        return "no privilege to use " + where + " (it needs root or the CAP_NET_BIND_SERVICE capability)";
    }
    return "cannot listen on " + where + ": " + std::strerror(error);
}

}  // namespace

struct TUdpTransport::TMailbox {
    TMailbox(std::string boxName, const std::string& computerName) : Inbox(std::move(boxName), computerName) {}

    TFileDescriptor Socket;
    TWakeEvent Wake;
    TInbox Inbox;
    std::vector<char> ReceiveBuffer = std::vector<char>(MaxUdpPayloadSize + 1);
    int Waiters = 0;
    bool Closed = false;
    std::unique_ptr<TNameResponder> Responder;
};

TUdpTransport::TUdpTransport(std::string computerName, TUdpSettings settings)
    : ComputerName(std::move(computerName)), Settings(std::move(settings)) {
    // Datagram ids pair copies of one datagram; starting at random keeps a restarted copy's ids apart.
    NextDatagramId = static_cast<std::uint16_t>(std::random_device{}());
}

TUdpTransport::~TUdpTransport() {
    std::vector<TMailslotHandle> open;
    {
        std::lock_guard lock(Mutex);
        for (const auto& [handle, mailbox] : Mailboxes) {
            open.push_back(handle);
        }
    }
    for (const auto handle : open) {
        CloseHandle(handle);
    }
}

std::string TUdpTransport::LastError() const {
    std::lock_guard lock(Mutex);
    return CreateError;
}

std::size_t TUdpTransport::MaxMessageSize(const std::string& boxName) {
    return MaxMailslotDataSize(MailslotWireName(boxName).size());
}

std::uint16_t TUdpTransport::BoundPort() const {
    std::lock_guard lock(Mutex);
    return ListeningPort;
}

TMailslotHandle TUdpTransport::CreateMailslot(std::string_view path, std::uint32_t /*maxMessageSize*/,
                                              std::uint32_t /*readTimeout*/) {
    const auto parsed = TMailslotPath::Parse(path);
    std::lock_guard lock(Mutex);
    if (!parsed || !parsed->IsLocal()) {
        CreateError = "not a mailbox path of this computer: " + std::string(path);
        return InvalidMailslotHandle;
    }
    // One UDP port carries one mailbox, so a second copy on this computer is refused, as it should be.
    if (!Mailboxes.empty()) {
        CreateError = BindFailure(EADDRINUSE, Settings.Port);
        return InvalidMailslotHandle;
    }
    auto mailbox = std::make_shared<TMailbox>(parsed->Box, ComputerName);
    mailbox->Socket = TFileDescriptor(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const int on = 1;
    const auto bindAddress = ParseIpv4(Settings.BindAddress);
    if (!mailbox->Socket.Valid() || !mailbox->Wake.Valid() || !bindAddress) {
        CreateError = !bindAddress ? "not an IPv4 address: " + Settings.BindAddress : std::strerror(errno);
        return InvalidMailslotHandle;
    }
    setsockopt(mailbox->Socket.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    // Root may exceed the system's limit on receive buffers; others get what the limit allows.
    if (setsockopt(mailbox->Socket.Get(), SOL_SOCKET, SO_RCVBUFFORCE, &ReceiveBufferBytes, sizeof ReceiveBufferBytes) !=
        0) {
        setsockopt(mailbox->Socket.Get(), SOL_SOCKET, SO_RCVBUF, &ReceiveBufferBytes, sizeof ReceiveBufferBytes);
    }
    const sockaddr_in address = SocketAddress(*bindAddress, Settings.Port);
    if (bind(mailbox->Socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        CreateError = BindFailure(errno, Settings.Port);
        return InvalidMailslotHandle;
    }
    sockaddr_in bound{};
    socklen_t boundSize = sizeof bound;
    getsockname(mailbox->Socket.Get(), reinterpret_cast<sockaddr*>(&bound), &boundSize);
    ListeningPort = ntohs(bound.sin_port);
    mailbox->Responder = TNameResponder::Start(ComputerName, Settings);
    CreateError.clear();
    const TMailslotHandle handle = NextHandle++;
    Mailboxes.emplace(handle, std::move(mailbox));
    return handle;
}

std::shared_ptr<TUdpTransport::TMailbox> TUdpTransport::MailboxOf(TMailslotHandle handle) const {
    const auto found = Mailboxes.find(handle);
    return found == Mailboxes.end() || found->second->Closed ? nullptr : found->second;
}

void TUdpTransport::Drain(TMailbox& mailbox) {
    // Bounded, so a flood cannot hold the lock (and every send) for as long as it lasts; and nothing is
    // taken from the kernel once the queue is full, so a burst waits in the socket's large buffer.
    for (int taken = 0; taken < MaxDrainPerQuery && !mailbox.Inbox.Full(); ++taken) {
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const auto received = recvfrom(mailbox.Socket.Get(), mailbox.ReceiveBuffer.data(), mailbox.ReceiveBuffer.size(),
                                       MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (received < 0) {
            return;
        }
        const auto datagram =
            DecodeMailslotDatagram(std::string_view(mailbox.ReceiveBuffer.data(), static_cast<std::size_t>(received)));
        if (!datagram) {
            continue;
        }
        // Where a computer's datagrams come from is where a datagram to it goes.
        Peers.Learn(NormalizeNetbiosName(datagram->SourceName.Name), ntohl(from.sin_addr.s_addr));
        mailbox.Inbox.Offer(*datagram, TInbox::TClock::now());
    }
}

std::optional<TMailslotInfo> TUdpTransport::GetMailslotInfo(TMailslotHandle mailbox) {
    std::lock_guard lock(Mutex);
    const auto found = MailboxOf(mailbox);
    if (!found) {
        return std::nullopt;
    }
    Drain(*found);
    return TMailslotInfo{static_cast<std::int32_t>(found->Inbox.Count()),
                         static_cast<std::uint32_t>(found->Inbox.NextSize().value_or(0))};
}

std::optional<std::uint32_t> TUdpTransport::ReadFile(TMailslotHandle mailbox, std::span<char> buffer) {
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

TMailslotHandle TUdpTransport::CreateFile(std::string_view path) {
    const auto parsed = TMailslotPath::Parse(path);
    if (!parsed) {
        return InvalidMailslotHandle;
    }
    std::lock_guard lock(Mutex);
    const TMailslotHandle handle = NextHandle++;
    Targets.emplace(handle, TTarget{parsed->Server, parsed->Box});
    return handle;
}

bool TUdpTransport::WriteFile(TMailslotHandle target, std::string_view bytes) {
    std::lock_guard lock(Mutex);
    const auto found = Targets.find(target);
    return found != Targets.end() && Send(found->second, bytes);
}

TUdpTransport::TSender TUdpTransport::SendSocket() {
    for (const auto& [handle, mailbox] : Mailboxes) {
        if (!mailbox->Closed) {
            return {mailbox->Socket.Get(), ListeningPort};
        }
    }
    // Without an open mailbox (a send from a copy that does not listen, or the goodbye after the
    // mailbox closed) the datagram leaves from a port of its own. It must not take the mailbox port:
    // a restart has to be able to bind it at once.
    if (!SpareSendSocket.Valid()) {
        SpareSendSocket = TFileDescriptor(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        const int on = 1;
        setsockopt(SpareSendSocket.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        sockaddr_in any = SocketAddress(INADDR_ANY, 0);
        bind(SpareSendSocket.Get(), reinterpret_cast<const sockaddr*>(&any), sizeof any);
        socklen_t size = sizeof any;
        getsockname(SpareSendSocket.Get(), reinterpret_cast<sockaddr*>(&any), &size);
        SparePort = ntohs(any.sin_port);
    }
    return {SpareSendSocket.Get(), SparePort};
}

bool TUdpTransport::Send(const TTarget& target, std::string_view bytes) {
    if (bytes.size() > MaxMessageSize(target.Box)) {
        return false;
    }
    const TSender sender = SendSocket();
    const int socket = sender.Socket;
    const auto& interfaces = Interfaces();
    TMailslotDatagram datagram;
    datagram.DatagramId = NextDatagramId++;
    // The header names the port the datagram really leaves from.
    datagram.SourcePort = sender.Port;
    datagram.SourceName = {ComputerName, 0x00};
    datagram.MailslotName = MailslotWireName(target.Box);
    datagram.Data = std::string(bytes);

    // Every computer: one copy per network, all under one datagram id, so receivers drop the extras.
    const auto toEveryNetwork = [&] {
        bool sent = false;
        for (const auto& network : interfaces) {
            datagram.SourceAddress = network.Address;
            sent = SendTo(socket, EncodeMailslotDatagram(datagram), network.Broadcast, Settings.Port) || sent;
        }
        return sent;
    };
    if (target.Server == "*") {
        datagram.Type = TDatagramType::DirectGroup;
        datagram.DestinationName = {Settings.Workgroup, 0x00};
        return toEveryNetwork();
    }
    datagram.Type = TDatagramType::DirectUnique;
    if (target.Server == ".") {
        datagram.DestinationName = {ComputerName, 0x00};
        const auto bound = ParseIpv4(Settings.BindAddress).value_or(INADDR_ANY);
        return SendTo(socket, EncodeMailslotDatagram(datagram), bound == INADDR_ANY ? INADDR_LOOPBACK : bound,
                      Settings.Port);
    }
    datagram.DestinationName = {target.Server, 0x00};
    const auto address = Peers.Find(NormalizeNetbiosName(target.Server));
    if (!address) {
        // Not heard from yet: broadcast it; only the computer of that name keeps it.
        return toEveryNetwork();
    }
    const auto network = InterfaceFor(interfaces, *address);
    datagram.SourceAddress = network ? network->Address : (interfaces.empty() ? 0 : interfaces.front().Address);
    return SendTo(socket, EncodeMailslotDatagram(datagram), *address, Settings.Port);
}

const std::vector<TIpv4Interface>& TUdpTransport::Interfaces() {
    const auto now = std::chrono::steady_clock::now();
    if (!InterfacesListed || now - InterfacesListedAt > InterfaceListLifetime) {
        InterfaceList = BroadcastInterfaces(Settings.Interfaces);
        InterfacesListedAt = now;
        InterfacesListed = true;
    }
    return InterfaceList;
}

void TUdpTransport::CloseHandle(TMailslotHandle handle) {
    std::unique_ptr<TNameResponder> responder;
    {
        std::unique_lock lock(Mutex);
        if (Targets.erase(handle) != 0) {
            return;
        }
        const auto found = Mailboxes.find(handle);
        if (found == Mailboxes.end()) {
            return;
        }
        const auto mailbox = found->second;
        mailbox->Closed = true;
        mailbox->Wake.Signal();
        // The port must be free when this returns, so that a restart can bind it again; a poller
        // blocked on the socket leaves at once on the wake event.
        WaitEnded.wait(lock, [&mailbox] { return mailbox->Waiters == 0; });
        mailbox->Socket.Reset();
        responder = std::move(mailbox->Responder);
        Mailboxes.erase(found);
    }
}

TMailslotWait TUdpTransport::WaitForDatagram(TMailslotHandle mailbox, std::stop_token stop) {
    std::shared_ptr<TMailbox> found;
    pollfd fds[2] = {};
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
        fds[0] = {found->Socket.Get(), POLLIN, 0};
        fds[1] = {found->Wake.Get(), POLLIN, 0};
    }
    {
        std::stop_callback wake(stop, [&found] { found->Wake.Signal(); });
        while (poll(fds, 2, -1) < 0 && errno == EINTR) {
        }
    }
    {
        std::lock_guard lock(Mutex);
        found->Wake.Clear();
        --found->Waiters;
    }
    WaitEnded.notify_all();
    return stop.stop_requested() ? TMailslotWait::Stopped : TMailslotWait::DatagramWaiting;
}
