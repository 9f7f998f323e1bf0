// Notices from the kernel when this computer's networks change, so that a copy can announce itself on a
// network that came back (a cable plugged in again, a laptop joining another office) without polling.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "messenger/transport/udp/FileDescriptor.h"

class TNetworkWatch {
public:
    /// Watches the networks that `only` allows (as BroadcastInterfaces reads it); no watch when the system
    /// offers none, in which case Get() is -1.
    explicit TNetworkWatch(std::vector<std::string> only);

    /// A descriptor that becomes readable when a link or an IPv4 address changed.
    int Get() const { return Socket.Get(); }
    /// Reads the pending notices; true when a network to broadcast on appeared that was not there at the
    /// last look (a new address, or an interface that came up again).
    bool TakeChanges();

private:
    TFileDescriptor Socket;
    std::vector<std::string> Only;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Known;  ///< address and broadcast address
};
