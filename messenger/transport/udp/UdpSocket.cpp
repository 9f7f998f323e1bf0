// Socket set-up for the UDP transport, with every system call's result checked.
#include "messenger/transport/udp/UdpSocket.h"

#include <arpa/inet.h>
#include <linux/filter.h>
#include <poll.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "messenger/transport/udp/NetworkInterfaces.h"

namespace {

// A burst of a few thousand memos must wait in the kernel until the poller gets to it.
constexpr int ReceiveBufferBytes = 8 << 20;
// Answers to a whole office leave in a burst, each held against this buffer until the neighbour's
// address is resolved; the system caps it at net.core.wmem_max.
constexpr int SendBufferBytes = 1 << 20;
// While the system itself is out of buffers (ENOBUFS) there is nothing to wait on but time.
constexpr auto NoBuffersPause = std::chrono::milliseconds(2);

sockaddr_in SocketAddress(std::uint32_t address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

TUdpSocket Failed(const std::string& what) {
    return {TFileDescriptor(), 0, what + ": " + std::strerror(errno), errno};
}

bool SetOption(int socket, int option, int value) {
    return setsockopt(socket, SOL_SOCKET, option, &value, sizeof value) == 0;
}

// Opens a socket that may broadcast, binds it, and learns the port it got.
TUdpSocket OpenBound(int flags, std::uint32_t address, std::uint16_t port, bool largeReceiveBuffer) {
    TUdpSocket result{TFileDescriptor(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | flags, 0)), 0, {}};
    const int fd = result.Socket.Get();
    if (!result.Socket.Valid()) {
        return Failed("cannot open a UDP socket");
    }
    if (!SetOption(fd, SO_BROADCAST, 1)) {
        return Failed("cannot allow broadcasts on a UDP socket");
    }
    // Root may exceed the system's limit on receive buffers; others get what the limit allows.
    if (largeReceiveBuffer && !SetOption(fd, SO_RCVBUFFORCE, ReceiveBufferBytes) &&
        !SetOption(fd, SO_RCVBUF, ReceiveBufferBytes)) {
        return Failed("cannot size the receive buffer of a UDP socket");
    }
    // Best effort: the system caps it, and the default is enough for all but a large office's burst.
    SetOption(fd, SO_SNDBUF, SendBufferBytes);
    sockaddr_in bound = SocketAddress(address, port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&bound), sizeof bound) != 0) {
        return {TFileDescriptor(), 0, BindFailure(errno, port), errno};
    }
    socklen_t size = sizeof bound;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
        return Failed("cannot tell the port of a UDP socket");
    }
    result.Port = ntohs(bound.sin_port);
    return result;
}

}  // namespace

TUdpSocket OpenMailboxSocket(const TUdpSettings& settings) {
    const auto address = ParseIpv4(settings.BindAddress);
    if (!address) {
        return {TFileDescriptor(), 0, "not an IPv4 address: " + settings.BindAddress, EINVAL};
    }
    TUdpSocket opened = OpenBound(SOCK_NONBLOCK, *address, settings.Port, true);
    if (opened.Socket.Valid() && !ReportSendErrors(opened.Socket.Get())) {
        return Failed("cannot have a UDP socket report its send errors");
    }
    return opened;
}

TUdpSocket OpenRawReceiver(const TUdpSettings& settings) {
    TUdpSocket result{TFileDescriptor(socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_UDP)),
                      settings.Port,
                      {},
                      0};
    const int fd = result.Socket.Get();
    if (!result.Socket.Valid()) {
        return Failed("cannot open a raw socket");
    }
    // The socket sees every UDP datagram for this computer; the filter wakes the program only for those
    // to its port. A raw socket reads datagrams after reassembly, so a fragment is never the first part.
    sock_filter code[] = {
        BPF_STMT(BPF_LD | BPF_H | BPF_ABS, 6),               // flags and fragment offset
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, 0x1FFF, 4, 0),  // a later fragment: no UDP header
        BPF_STMT(BPF_LDX | BPF_B | BPF_MSH, 0),              // X = the IP header's length
        BPF_STMT(BPF_LD | BPF_H | BPF_IND, 2),               // the UDP destination port
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, settings.Port, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, 0xFFFFFFFF),  // all of it
        BPF_STMT(BPF_RET | BPF_K, 0),           // none of it
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(code)), code};
    if (setsockopt(fd, SOL_SOCKET, SO_ATTACH_FILTER, &program, sizeof program) != 0) {
        return Failed("cannot filter a raw socket");
    }
    if (!SetOption(fd, SO_RCVBUFFORCE, ReceiveBufferBytes) && !SetOption(fd, SO_RCVBUF, ReceiveBufferBytes)) {
        return Failed("cannot size the receive buffer of a raw socket");
    }
    return result;
}

std::optional<std::uint32_t> BroadcastOfBindAddress(const TUdpSettings& settings) {
    const auto address = ParseIpv4(settings.BindAddress);
    if (!address || *address == INADDR_ANY) {
        return std::nullopt;
    }
    for (const auto& network : BroadcastInterfaces({})) {
        if (network.Address == *address && network.Broadcast != network.Address) {
            return network.Broadcast;
        }
    }
    return std::nullopt;
}

TUdpSocket OpenBroadcastListener(std::uint32_t broadcast, std::uint16_t port) {
    return OpenBound(SOCK_NONBLOCK, broadcast, port, true);
}

TUdpSocket OpenSendSocket() {
    return OpenBound(0, INADDR_ANY, 0, false);
}

bool SendTo(int socket, std::string_view bytes, std::uint32_t address, std::uint16_t port) {
    const sockaddr_in to = SocketAddress(address, port);
    return sendto(socket, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
           static_cast<ssize_t>(bytes.size());
}

bool ReportSendErrors(int socket) {
    const int on = 1;
    return setsockopt(socket, IPPROTO_IP, IP_RECVERR, &on, sizeof on) == 0;
}

void DiscardSendErrors(int socket) {
    std::array<char, 512> data{};
    std::array<char, 512> control{};
    for (;;) {
        iovec part{data.data(), data.size()};
        msghdr message{};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control.data();
        message.msg_controllen = control.size();
        if (recvmsg(socket, &message, MSG_ERRQUEUE | MSG_DONTWAIT) < 0 && errno != EINTR) {
            return;
        }
    }
}

TSendResult SendWhenRoom(int socket, std::string_view bytes, std::uint32_t address, std::uint16_t port,
                         std::chrono::steady_clock::time_point deadline) {
    const sockaddr_in to = SocketAddress(address, port);
    int earlier = 0;  // an error that may be an earlier datagram's, told to this send
    for (;;) {
        const auto sent = sendto(socket, bytes.data(), bytes.size(), MSG_DONTWAIT,
                                 reinterpret_cast<const sockaddr*>(&to), sizeof to);
        if (sent == static_cast<ssize_t>(bytes.size())) {
            return TSendResult::Ok();
        }
        const int error = sent < 0 ? errno : EMSGSIZE;
        if (error == EINTR) {
            continue;
        }
        if (error != EAGAIN && error != EWOULDBLOCK && error != ENOBUFS) {
            // A socket that reports its errors also hands on the ICMP answer to an earlier datagram (a
            // computer that has left): taken now, it does not come again, so one more try tells.
            if (earlier != error) {
                earlier = error;
                continue;
            }
            return TSendResult::Refused("sending to " + FormatIpv4(address) + " failed: " + std::strerror(error));
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return {TSendResult::TStatus::NoRoom,
                    "no room to send to " + FormatIpv4(address) + ": " + std::strerror(error)};
        }
        if (error == ENOBUFS) {
            std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(left, NoBuffersPause));
        } else {
            pollfd writable{socket, POLLOUT, 0};
            while (poll(&writable, 1, static_cast<int>(left.count())) < 0 && errno == EINTR) {
            }
            if ((writable.revents & POLLERR) != 0) {
                DiscardSendErrors(socket);
            }
        }
    }
}

TReceiveRoom ReceiveRoomOf(int socket) {
    TReceiveRoom room;
    int granted = 0;
    socklen_t size = sizeof granted;
    if (getsockopt(socket, SOL_SOCKET, SO_RCVBUF, &granted, &size) == 0 && granted > 0) {
        room.Granted = static_cast<std::size_t>(granted);
    }
    std::ifstream limit("/proc/sys/net/core/rmem_max");
    limit >> room.SystemLimit;
    return room;
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
