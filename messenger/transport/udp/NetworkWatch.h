// Notices from the kernel when this computer's networks change, so that a copy can announce itself on a
// network that came back (a cable plugged in again, a laptop joining another office) without polling.
#pragma once

#include <chrono>
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
    /// last look (a new address, or an interface that came up again). Announcing once then is not enough:
    /// a switch port forwards only some time after the link came up, so announcements follow later too.
    bool TakeChanges();
    /// How long until the next of those later announcements is due, for poll(); -1 when none is.
    int MillisecondsToNextAnnouncement() const;
    /// True when a later announcement is due now (and counts it as made).
    bool TakeDueAnnouncement();

private:
    TFileDescriptor Socket;
    std::vector<std::string> Only;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Known;  ///< address and broadcast address
    std::vector<std::chrono::steady_clock::time_point> Later;    ///< the later announcements, soonest last
};
