// The settings of the datagram transport on UDP, as plain values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "messenger/MailslotTransport.h"

struct TUdpSettings {
    std::uint16_t Port = 138;             ///< datagram service port, the same on every computer
    std::uint16_t NameServicePort = 137;  ///< where name queries are answered; 0 turns that off
    std::string Workgroup = "WORKGROUP";  ///< group name that datagrams to every computer address
    std::vector<std::string> Interfaces;  ///< interfaces to send on; empty: every up IPv4 broadcast one
    std::string BindAddress = "0.0.0.0";  ///< address the own mailbox listens on
    /// the longest message text sent to other computers: what Windows takes; more reaches Linux copies only
    std::size_t MaxMessageBytes = WindowsMaxMessageSize;
};

/// How many bytes of datagrams the own mailbox's receive buffer holds, as the kernel counts them, and the
/// most a program without privileges may ask the system for (net.core.rmem_max); 0 where unknown.
struct TReceiveRoom {
    std::size_t Granted = 0;
    std::size_t SystemLimit = 0;
};
