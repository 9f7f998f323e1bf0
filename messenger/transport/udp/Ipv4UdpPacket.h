// A UDP datagram as a raw IPv4 socket reads it: the IP header, the UDP header, then the payload.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct TIpv4UdpPacket {
    std::uint32_t Source = 0;  ///< host byte order
    std::uint32_t Destination = 0;
    std::uint16_t SourcePort = 0;
    std::uint16_t DestinationPort = 0;
    std::string_view Payload;  ///< points into the packet it was read from
};

/// The UDP datagram in `packet`, or nothing when it is not a whole, consistent IPv4 UDP packet: a header
/// that claims more bytes than arrived, a fragment, another protocol, a checksum that does not add up.
std::optional<TIpv4UdpPacket> ParseIpv4Udp(std::string_view packet);

/// The most bytes of headers a raw read holds ahead of the UDP payload (an IP header with every option).
inline constexpr std::size_t MaxIpv4UdpHeaderSize = 60 + 8;
