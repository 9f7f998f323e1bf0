// The UDP sockets of the transport: the own mailbox's socket, the one datagrams leave from, and sending.
// Every call's result is checked; a socket that cannot be set up as needed comes back with the reason.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "messenger/MailslotTransport.h"
#include "messenger/transport/udp/FileDescriptor.h"
#include "messenger/transport/udp/UdpSettings.h"

struct TUdpSocket {
    TFileDescriptor Socket;  ///< invalid on failure
    std::uint16_t Port = 0;  ///< the port it is bound to
    std::string Error;       ///< why it could not be opened, in words a user can act on; empty on success
    int ErrorCode = 0;       ///< the errno value behind Error
};

/// The own mailbox: non-blocking, may broadcast, a receive buffer large enough for a burst, bound to
/// `settings.BindAddress` and `settings.Port`.
TUdpSocket OpenMailboxSocket(const TUdpSettings& settings);
/// A raw IPv4 socket that reads the UDP datagrams for `settings.Port` (headers included) beside whichever
/// program holds that port, to any of this computer's addresses; it needs CAP_NET_RAW.
TUdpSocket OpenRawReceiver(const TUdpSettings& settings);
/// Where broadcasts reach a copy that listens on one address only (`settings.BindAddress`): on Linux a
/// socket bound to a unicast address gets none, so, as nmbd does, a second socket listens on the
/// broadcast address of that address's interface. Nothing when the copy listens on every address, or the
/// address has no broadcast.
std::optional<std::uint32_t> BroadcastOfBindAddress(const TUdpSettings& settings);
/// A socket that only listens, bound to `broadcast` and `port`: non-blocking, with a large buffer.
TUdpSocket OpenBroadcastListener(std::uint32_t broadcast, std::uint16_t port);
/// A socket of its own to send from, on a port the system picks.
TUdpSocket OpenSendSocket();
/// Sends `bytes` as one datagram; false unless all of it went out.
bool SendTo(int socket, std::string_view bytes, std::uint32_t address, std::uint16_t port);
/// Makes a socket that datagrams leave from say when the system drops one on its way out (ENOBUFS: the
/// neighbour table or a device queue is full), which UDP otherwise reports as sent.
bool ReportSendErrors(int socket);
/// Throws away the errors such a socket has queued (ICMP answers to earlier datagrams), which would
/// otherwise keep waking whoever polls it.
void DiscardSendErrors(int socket);
/// Sends `bytes` as one datagram without blocking; where the socket's buffer or the system has no room
/// for it, waits for room until `deadline` and tries again.
TSendResult SendWhenRoom(int socket, std::string_view bytes, std::uint32_t address, std::uint16_t port,
                         std::chrono::steady_clock::time_point deadline);
/// The receive buffer a socket got, and the system's limit on it.
TReceiveRoom ReceiveRoomOf(int socket);
/// Why binding `port` failed with `error` (an errno value).
std::string BindFailure(int error, std::uint16_t port);
