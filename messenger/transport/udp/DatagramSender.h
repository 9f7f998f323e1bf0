// The sending half of the UDP transport: which socket a datagram leaves from, where it goes, and the
// wait for room when the system has none. Used by the user-interface thread; it never waits for the
// receiving half, which has a lock of its own.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "messenger/MailslotTransport.h"
#include "messenger/transport/udp/DatagramRouting.h"
#include "messenger/transport/udp/FileDescriptor.h"
#include "messenger/transport/udp/NetworkInterfaces.h"
#include "messenger/transport/udp/UdpSettings.h"

class TDatagramSender {
public:
    /// How long one write may wait, in all, for room in a full send buffer before it is given up.
    static constexpr auto RoomWait = std::chrono::seconds(1);

    /// `peers` is where the receiving half learns the other computers' addresses; it must outlive this.
    TDatagramSender(std::string computerName, const TUdpSettings& settings, const TPeerAddressBook& peers);

    /// Datagrams leave from `socket` (the own mailbox's, on `port`) until StopUsing; without one, from
    /// a port of their own, so that the mailbox port stays free for a restart.
    void Use(int socket, std::uint16_t port);
    /// Returns once no send uses the socket given to Use any more.
    void StopUsing();

    /// One write of `bytes` to mailbox `box` of `server` ("*", "." or a computer name).
    TSendResult Send(std::string_view server, std::string_view box, std::string_view bytes);
    /// Whether some network to send on is up.
    bool ReachesOtherComputers();
    /// The networks changed: the next send lists them anew.
    void ForgetInterfaces();

private:
    struct TSocket {
        int Descriptor = -1;
        std::uint16_t Port = 0;
    };

    // Called with Mutex held.
    TSocket SendSocket();
    const std::vector<TIpv4Interface>& Interfaces();

    const std::string ComputerName;
    const TUdpSettings Settings;
    const TPeerAddressBook& Peers;
    std::mutex Mutex;
    TSocket Borrowed;
    TFileDescriptor Spare;  ///< for sends while no own mailbox is open
    std::uint16_t SparePort = 0;
    std::uint16_t NextDatagramId = 0;
    std::vector<TIpv4Interface> InterfaceList;
    std::chrono::steady_clock::time_point InterfacesListedAt;
    bool InterfacesListed = false;
};
