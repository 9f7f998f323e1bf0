// Reading a raw IPv4 UDP packet. Every length and the checksum are checked against what arrived: a raw
// socket hands over whatever a peer sent, before the UDP layer has looked at it.
#include "messenger/transport/udp/Ipv4UdpPacket.h"

#include "messenger/transport/udp/WireBytes.h"

namespace {

constexpr unsigned UdpProtocol = 17;
constexpr std::uint16_t FragmentBits = 0x3FFF;  // "more fragments" and the fragment offset
constexpr std::size_t UdpHeaderSize = 8;

// The ones' complement sum of `bytes` as big-endian 16-bit words (an odd last byte padded with zero),
// added to `sum` and folded to 16 bits.
std::uint16_t Sum16(std::string_view bytes, std::uint32_t sum) {
    using namespace WireBytes;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        sum += Big16(bytes, at);
    }
    if (bytes.size() % 2 != 0) {
        sum += Byte(bytes, bytes.size() - 1) << 8;
    }
    while (sum > 0xFFFF) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint16_t>(sum);
}

// Whether the UDP checksum lets the datagram pass as the kernel's UDP layer would. 0: the sender computed
// none, which IPv4 allows. The sum of the pseudo-header alone: the sender left the checksum to a network
// card that the datagram never passed (one sent by this computer, or over a virtual link such as a
// container's), which the kernel takes unchecked too.
bool ChecksumPasses(std::string_view packet, std::string_view udp) {
    using namespace WireBytes;
    const std::uint16_t checksum = Big16(udp, 6);
    const std::uint16_t pseudoHeader = Sum16(packet.substr(12, 8), UdpProtocol + udp.size());
    return checksum == 0 || checksum == pseudoHeader || Sum16(udp, pseudoHeader) == 0xFFFF;
}

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
    if (udpSize < UdpHeaderSize || udpSize > udp.size() || !ChecksumPasses(packet, udp.substr(0, udpSize))) {
        return std::nullopt;
    }
    return TIpv4UdpPacket{Big32(packet, 12), Big32(packet, 16), Big16(udp, 0), Big16(udp, 2),
                          udp.substr(UdpHeaderSize, udpSize - UdpHeaderSize)};
}
