// The mailslot datagram codec: the reference packet both ways, accepted variants and one rejected case
// for every check the decoder makes; and the IPv4 UDP packets a raw socket reads.
#include <gtest/gtest.h>

#include "messenger/transport/udp/Ipv4UdpPacket.h"
#include "messenger/transport/udp/MailslotDatagram.h"
#include "tests/transport/udp/HexBytes.h"

namespace {

using namespace std::string_literals;

// 57 bytes to \MAILSLOT\MB303 from WS01 (192.168.1.10) to WORKGROUP as a direct group datagram.
const std::string WorkedExample = FromHex(R"(
11 02 12 34 c0 a8 01 0a 00 8a 00 d2 00 00 20 46 48 46 44 44 41 44 42 43 41 43 41 43 41 43 41 43
41 43 41 43 41 43 41 43 41 43 41 43 41 41 41 00 20 46 48 45 50 46 43 45 4c 45 48 46 43 45 50 46
46 46 41 43 41 43 41 43 41 43 41 43 41 43 41 41 41 00 ff 53 4d 42 25 00 00 00 00 00 00 00 00 00
00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 11 00 00 39 00 00 00 00 00 00 00 00 00 00
00 00 00 00 00 00 00 00 00 39 00 55 00 03 00 01 00 00 00 02 00 49 00 5c 4d 41 49 4c 53 4c 4f 54
5c 4d 42 33 30 33 00 41 42 43 44 45 46 47 48 49 4a 4b 4c 4d 4e 4f 50 51 52 53 54 55 56 57 58 59
5a 61 62 63 64 65 66 67 68 69 6a 6b 6c 6d 6e 6f 70 71 72 73 74 75 76 77 78 79 7a 31 32 33 34 35)");

// Offsets in the worked example: the SMB message starts at 0x52.
constexpr std::size_t DgmLengthAt = 10, SmbAt = 0x52, TotalDataCountAt = SmbAt + 35, DataCountAt = SmbAt + 55,
                      DataOffsetAt = SmbAt + 57, ByteCountAt = SmbAt + 67, MailslotNameAt = SmbAt + 69;

const TMailslotDatagram Reference{.DatagramId = 0x1234,
                                  .SourceAddress = 0xC0A8010A,
                                  .SourceName = {"WS01"},
                                  .DestinationName = {"WORKGROUP"},
                                  .MailslotName = "\\MAILSLOT\\MB303",
                                  .Data = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz12345"};

// The worked example with `extra` inserted at `at` and DGM_LENGTH grown to match.
std::string Inserted(std::size_t at, const std::string& extra) {
    return With(WorkedExample, DgmLengthAt, Big16(WorkedExample.size() - 14 + extra.size()))
        .insert(at, extra);
}

// The worked example and what other senders make of it read as the reference datagram, and are written in the
// worked example's form again. Flags are always written as one whole fragment: FIRST set, MORE clear, the
// node bits kept.
TEST(MailslotDatagram, EncodesAndDecodesTheWorkedExampleAndWhatOtherSendersProduce) {
    const std::string& w = WorkedExample;
    auto mNode = Reference, unique = Reference;
    mNode.Flags = 0x0A;
    unique.Type = TDatagramType::DirectUnique;
    const std::string padded =
        With(With(Inserted(MailslotNameAt + 16, "\x7F\x7F"), DataOffsetAt, Little16(0x57)), ByteCountAt,
             Little16(0x4B));
    for (const auto& [label, bytes, expected] :
         std::initializer_list<std::tuple<const char*, std::string, TMailslotDatagram>>{
             {"the worked example", w, Reference},
             {"M-node flags", With(w, 1, "\x0A"), mNode},
             {"direct unique", With(w, 0, "\x10"), unique},
             {"timeout, priority, SMB flags",
              With(With(With(w, SmbAt + 45, "\xE8"), SmbAt + 63, "\x01"), SmbAt + 9, "\x18"), Reference},
             {"bytes after DGM_LENGTH", w + "trailer", Reference},
             {"padding before the data", padded, Reference}}) {
        EXPECT_EQ(DecodeMailslotDatagram(bytes), expected) << label;
        EXPECT_EQ(EncodeMailslotDatagram(expected), expected == Reference ? w : bytes) << label;
    }
    for (const auto& [flags, onWire] : {std::pair{0x00, 0x02}, {0x01, 0x02}, {0x0B, 0x0A}}) {
        mNode.Flags = flags;
        EXPECT_EQ(EncodeMailslotDatagram(mNode)[1], onWire) << flags;
    }
}

TEST(MailslotDatagram, RejectsOneMalformationPerCheck) {
    const std::string& w = WorkedExample;
    for (const auto& [label, bytes] :
         TNamedBytes{{"error type", With(w, 0, "\x13")},
                     {"type below direct unique", With(w, 0, "\x0F")},
                     {"FIRST clear", With(w, 1, "\0"s)},
                     {"MORE set", With(w, 1, "\x03")},
                     {"PACKET_OFFSET not 0", With(w, 12, Big16(0x0100))},
                     {"source name letter", With(w, 20, "Z")},
                     {"destination name letter", With(w, 0x40, "a")},
                     {"source name with scope", Inserted(47, "\x03LAN")},
                     {"destination name with scope", Inserted(81, "\x03LAN")},
                     {"DGM_LENGTH beyond the bytes", With(w, DgmLengthAt, Big16(211))},
                     {"protocol not SMB", With(w, SmbAt + 3, "C")},
                     {"command not TRANSACTION", With(w, SmbAt + 4, "\x32")},
                     {"WordCount 16", With(w, SmbAt + 32, "\x10")},
                     {"SetupCount 2", With(w, SmbAt + 59, "\x02")},
                     {"opcode not write", With(w, SmbAt + 61, "\x02")},
                     {"class 1", With(w, SmbAt + 65, "\x01")},
                     {"ByteCount beyond the SMB message", With(w, ByteCountAt, Little16(74))},
                     {"name not terminated within ByteCount", With(w, ByteCountAt, Little16(15))},
                     {"name not under \\MAILSLOT\\", With(w, MailslotNameAt + 1, "X")},
                     {"DataOffset inside the name", With(w, DataOffsetAt, Little16(84))},
                     {"data beyond the SMB message",
                      With(With(w, DataCountAt, Little16(58)), TotalDataCountAt, Little16(58))},
                     {"DataCount below TotalDataCount", With(w, DataCountAt, Little16(56))}})
        EXPECT_FALSE(DecodeMailslotDatagram(bytes).has_value()) << label;
    // Every truncation, with DGM_LENGTH agreeing once it is there, so the deeper counts must catch it.
    for (std::size_t size = 0; size < w.size(); ++size) {
        const std::string cut =
            size < 14 ? w.substr(0, size) : With(w.substr(0, size), DgmLengthAt, Big16(size - 14));
        EXPECT_FALSE(DecodeMailslotDatagram(TExactBuffer(cut).View())) << "cut to " << size;
    }
}

// From 192.168.1.10:138 to 192.168.1.255:138, `data` with that UDP checksum and link padding after it.
std::string RawPacket(const std::string& data, unsigned checksum = 0) {
    return FromHex("45 00") + Big16(28 + data.size()) +
           FromHex("12 34 00 00 40 11 00 00 c0 a8 01 0a c0 a8 01 ff 00 8a 00 8a") + Big16(8 + data.size()) +
           Big16(checksum) + data + "\xff\xff";
}

// Beside nmbd the mailbox reads from a raw socket, ahead of the kernel's UDP layer, and keeps what that layer
// would: headers that add up, and a checksum that adds up, none (0), or one left to a network card the
// datagram never passed (the pseudo-header's sum, as a datagram from this computer carries it).
TEST(Ipv4Udp, ReadsWhatTheHeadersSayAndNothingThatDoesNotAddUp) {
    const std::string hello = RawPacket("hello");
    const auto read = ParseIpv4Udp(hello).value_or(TIpv4UdpPacket{});
    EXPECT_EQ(std::tuple(read.Source, read.SourcePort, read.DestinationPort, read.Payload),
              std::tuple(0xC0A8010Au, 138, 138, "hello"));
    const std::string withOptions = With(hello.substr(0, 20), 0, "\x46") + "\0\0\0\0"s + hello.substr(20);
    EXPECT_EQ(ParseIpv4Udp(With(withOptions, 2, Big16(0x25))).value_or(TIpv4UdpPacket{}).Payload, "hello");
    for (const auto& [label, bytes] :
         TNamedBytes{{"IPv6", With(hello, 0, "\x65")},
                     {"header below 20 bytes", With(hello, 0, "\x44")},
                     {"total length beyond the bytes", With(hello, 2, Big16(0x24))},
                     {"total length inside the UDP header", With(hello, 2, Big16(0x1B))},
                     {"more fragments", With(hello, 6, Big16(0x2000))},
                     {"a later fragment", With(hello, 6, Big16(0x0001))},
                     {"TCP", With(hello, 9, "\x06")},
                     {"UDP length below its header", With(hello, 24, Big16(7))},
                     {"UDP length beyond the packet", With(hello, 24, Big16(0x0E))},
                     {"cut in the IP header", hello.substr(0, 19)}})
        EXPECT_FALSE(ParseIpv4Udp(TExactBuffer(bytes).View()).has_value()) << label;
    // The checksums are Scapy's.
    using TRow = std::tuple<const char*, const char*, unsigned, bool>;
    for (const auto& [label, data, checksum, kept] :
         std::initializer_list<TRow>{{"odd length", "hello", 0x3694, true},
                                     {"even length", "hello!", 0x3671, true},
                                     {"left to the network card", "hello", 0x8478, true},
                                     {"one bit off", "hello", 0x3695, false},
                                     {"a byte changed on the way", "hellp", 0x3694, false}})
        EXPECT_EQ(ParseIpv4Udp(RawPacket(data, checksum)).has_value(), kept) << label;
}

}  // namespace
