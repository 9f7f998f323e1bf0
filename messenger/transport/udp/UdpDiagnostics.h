// What may keep the UDP transport from the other computers, looked at rather than tried: who holds its
// ports, which capabilities the process has for them, and the interfaces it sends on or skips.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "messenger/transport/udp/Capabilities.h"
#include "messenger/transport/udp/NetworkInterfaces.h"
#include "messenger/transport/udp/UdpSettings.h"

struct TUdpPortLook {
    std::uint16_t Number = 0;
    bool Held = false;
    bool HeldByKestrin = false;  ///< a copy of Kestrin has its mailbox, or the port, open
    std::string Holder;          ///< "nmbd (process 1234)"; empty when it cannot be seen
};

struct TUdpDiagnostics {
    TPortCapabilities Capabilities;
    std::vector<TUdpPortLook> Ports;  ///< the datagram port, then the name-service port if it is on
    std::vector<TInterfaceReport> Interfaces;
};

/// Looks at the ports of `settings` before this process opens them itself, and while it still has the
/// capabilities that opening them needs: afterwards its own sockets would stand in the way, and other users'
/// processes are closed to it.
TUdpDiagnostics DiagnoseUdp(const TUdpSettings& settings);
