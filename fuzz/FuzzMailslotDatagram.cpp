// Feeds arbitrary bytes to the UDP transport's decoders; whatever decodes must survive a round trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "messenger/transport/udp/Ipv4UdpPacket.h"
#include "messenger/transport/udp/MailslotDatagram.h"
#include "messenger/transport/udp/NameQuery.h"
#include "messenger/transport/udp/NetbiosName.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Names come back in the form the encoder writes: upper case, without trailing blanks.
TNetbiosName Normalized(const TNetbiosName& name) {
    return {NormalizeNetbiosName(name.Name), name.Suffix};
}

void CheckMailslotDatagram(std::string_view bytes) {
    const auto decoded = DecodeMailslotDatagram(bytes);
    if (!decoded) {
        return;
    }
    const std::string encoded = EncodeMailslotDatagram(*decoded);
    if (encoded.empty()) {
        // Only a datagram larger than one UDP packet may be refused.
        Require(decoded->MailslotName.size() + decoded->Data.size() + MailslotDatagramOverhead >
                MaxUdpPayloadSize);
        return;
    }
    TMailslotDatagram expected = *decoded;
    expected.SourceName = Normalized(decoded->SourceName);
    expected.DestinationName = Normalized(decoded->DestinationName);
    const auto again = DecodeMailslotDatagram(encoded);
    Require(again.has_value() && *again == expected);
    Require(EncodeMailslotDatagram(*again) == encoded);
}

void CheckNameQuery(std::string_view bytes) {
    const auto query = DecodeNameQuery(bytes);
    if (!query) {
        return;
    }
    TNameQuery expected = *query;
    expected.Name = Normalized(query->Name);
    const auto again = DecodeNameQuery(EncodeNameQuery(*query));
    Require(again.has_value() && *again == expected);
    Require(EncodeNameQueryResponse(*query, 0x0A000001).size() == NameQueryResponseSize);
}

void CheckNetbiosName(std::string_view bytes) {
    const auto decoded = DecodeNetbiosName(bytes, 0);
    if (!decoded) {
        return;
    }
    Require(decoded->End <= bytes.size() && decoded->End >= EncodedNetbiosNameSize);
    std::string encoded;
    AppendEncodedNetbiosName(encoded, decoded->Name);
    const auto again = DecodeNetbiosName(encoded, 0);
    Require(again.has_value() && again->Name == Normalized(decoded->Name) && again->End == encoded.size());
}

// What a raw socket read: the payload lies within the packet, and goes on to the mailslot decoder.
void CheckIpv4Udp(std::string_view bytes) {
    const auto packet = ParseIpv4Udp(bytes);
    if (!packet) {
        return;
    }
    Require(packet->Payload.data() >= bytes.data() &&
            packet->Payload.data() + packet->Payload.size() <= bytes.data() + bytes.size());
    CheckMailslotDatagram(packet->Payload);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckMailslotDatagram(bytes);
    CheckNameQuery(bytes);
    CheckNetbiosName(bytes);
    CheckIpv4Udp(bytes);
    return 0;
}
