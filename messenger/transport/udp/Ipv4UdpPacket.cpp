// Reading a raw IPv4 UDP packet. Every length is checked against what arrived: a raw socket hands over
// whatever a peer sent, before the UDP layer has looked at it.
#include "messenger/transport/udp/Ipv4UdpPacket.h"

#include "messenger/transport/udp/WireBytes.h"

namespace {

constexpr unsigned UdpProtocol = 17;
constexpr std::uint16_t FragmentBits = 0x3FFF;  // "more fragments" and the fragment offset
constexpr std::size_t UdpHeaderSize = 8;

}  // namespace

std::optional<TIpv4UdpPacket> ParseIpv4Udp(std::string_view packet) {
    using namespace WireBytes;
    if (packet.size() < 20 || Byte(packet, 0) >> 4 != 4) {
        return std::nullopt;
    }
    const std::size_t headerSize = (Byte(packet, 0) & 0x0F) * 4u;
    const std::size_t totalSize = Big16(packet, 2);
    // The kernel hands over reassembled datagrams only; a fragment here is not one of ours to read.
    if (headerSize < 20 || totalSize > packet.size() || headerSize + UdpHeaderSize > totalSize ||
        (Big16(packet, 6) & FragmentBits) != 0 || Byte(packet, 9) != UdpProtocol) {
        return std::nullopt;
    }
    const std::string_view udp = packet.substr(headerSize, totalSize - headerSize);
    const std::size_t udpSize = Big16(udp, 4);
    if (udpSize < UdpHeaderSize || udpSize > udp.size()) {
        return std::nullopt;
    }
    return TIpv4UdpPacket{Big32(packet, 12), Big32(packet, 16), Big16(udp, 0), Big16(udp, 2),
                          udp.substr(UdpHeaderSize, udpSize - UdpHeaderSize)};
}
