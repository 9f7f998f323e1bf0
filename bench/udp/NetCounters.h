// The kernel's drop counters of this network namespace, to tell where lost datagrams went.
#pragma once

#include <cstdint>

struct TNetCounters {
    std::int64_t UdpReceiveBufferErrors = 0;  ///< socket receive buffer full
    std::int64_t UdpSendBufferErrors = 0;     ///< socket send buffer full
    std::int64_t UdpInErrors = 0;
    std::int64_t DeviceDrops = 0;  ///< receive and transmit drops of every interface

    /// Read now from /proc/net/snmp and /proc/net/dev (both per namespace); zeros where unreadable.
    static TNetCounters Read();
    TNetCounters operator-(const TNetCounters& earlier) const;
};
