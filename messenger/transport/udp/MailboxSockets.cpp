// Opening the own mailbox: the per-computer lock, then the port, then the fallback beside a name server.
#include "messenger/transport/udp/MailboxSockets.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>

#include "messenger/transport/udp/NameResponder.h"
#include "messenger/transport/udp/NetworkInterfaces.h"
#include "messenger/transport/udp/PortHolder.h"
#include "messenger/transport/udp/UdpSocket.h"

namespace {

// The port no longer tells whether another copy runs here (beside nmbd no copy binds it), so copies take
// a name in the abstract socket namespace: it belongs to the network namespace, like the port, is seen by
// every user, and goes away with the process, however it ends.
enum class TLockResult { Taken, HeldByAnotherCopy, Unavailable };

TLockResult TakeMailboxLock(std::uint16_t port, TFileDescriptor& lock) {
    if (port == 0) {
        return TLockResult::Unavailable;  // a port of its own for every copy: nothing to share
    }
    lock = TFileDescriptor(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const std::string name = "kestrin/udp-mailbox/" + std::to_string(port);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] == 0: abstract
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (lock.Valid() && bind(lock.Get(), reinterpret_cast<const sockaddr*>(&address), size) == 0) {
        return TLockResult::Taken;
    }
    const bool held = errno == EADDRINUSE;
    lock.Reset();
    return held ? TLockResult::HeldByAnotherCopy : TLockResult::Unavailable;
}

std::string ProgramPath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "<program>" : path.string();
}

std::string RawReceiverFailure(int error, std::uint16_t port) {
    const std::string holder = UdpPortHolder(port);
    const std::string held = "UDP port " + std::to_string(port) + " is held by " +
                             (holder.empty() ? "another program, for example Samba's nmbd" : holder);
    if (error == EPERM || error == EACCES) {
        return held + "; to receive beside it this program needs the CAP_NET_RAW capability: install " +
               "Kestrin's package, or run: sudo setcap cap_net_bind_service,cap_net_raw+ep " + ProgramPath();
    }
    return held + ", and receiving beside it failed: " + std::strerror(error);
}

}  // namespace

bool MailboxLockHeld(std::uint16_t port) {
    TFileDescriptor lock;
    return TakeMailboxLock(port, lock) == TLockResult::HeldByAnotherCopy;
}

TMailboxSockets OpenMailboxSockets(const TUdpSettings& settings) {
    TMailboxSockets sockets;
    if (TakeMailboxLock(settings.Port, sockets.Lock) == TLockResult::HeldByAnotherCopy) {
        sockets.Error = "another copy of Kestrin has its mailbox open on this computer (UDP port " +
                        std::to_string(settings.Port) + ")";
        return sockets;
    }
    TUdpSocket mailbox = OpenMailboxSocket(settings);
    if (!mailbox.Socket.Valid() && mailbox.ErrorCode == EADDRINUSE) {
        TUdpSocket raw = OpenRawReceiver(settings);
        TUdpSocket sender = OpenSendSocket();
        if (!raw.Socket.Valid()) {
            sockets.Error = RawReceiverFailure(raw.ErrorCode, settings.Port);
            return sockets;
        }
        if (!sender.Socket.Valid()) {
            sockets.Error = sender.Error;
            return sockets;
        }
        ReportSendErrors(sender.Socket.Get());
        sockets.Raw = true;
        sockets.Sender = std::move(sender.Socket);
        sockets.SendPort = sender.Port;
        mailbox = TUdpSocket{std::move(raw.Socket), settings.Port, {}, 0};
    }
    if (!mailbox.Socket.Valid()) {
        sockets.Error = mailbox.Error;
        return sockets;
    }
    sockets.Receiver = std::move(mailbox.Socket);
    sockets.ReceivePort = mailbox.Port;
    const auto broadcast = BroadcastOfBindAddress(settings);
    if (sockets.Raw && broadcast) {
        sockets.RawDestinations = {*ParseIpv4(settings.BindAddress), *broadcast, INADDR_BROADCAST};
    } else if (broadcast) {
        TUdpSocket listener = OpenBroadcastListener(*broadcast, mailbox.Port);
        if (!listener.Socket.Valid()) {
            sockets.Error = listener.Error;
            return sockets;
        }
        sockets.BroadcastReceiver = std::move(listener.Socket);
    }
    if (!sockets.Raw) {
        sockets.SendPort = mailbox.Port;
    }
    TUdpSocket nameService = OpenNameServiceSocket(settings);
    sockets.NameService = std::move(nameService.Socket);
    if (sockets.NameService.Valid() && broadcast) {
        sockets.NameServiceBroadcast = OpenBroadcastListener(*broadcast, settings.NameServicePort).Socket;
    }
    if (nameService.ErrorCode == EADDRINUSE) {
        sockets.NameServiceHolder = UdpPortHolder(settings.NameServicePort);
    }
    return sockets;
}
