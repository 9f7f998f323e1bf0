// One NetBIOS datagram carrying an SMB class-2 mailslot write: value, encoder and checking decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "messenger/transport/udp/NetbiosName.h"

/// The datagram service message types that carry user data.
enum class TDatagramType : std::uint8_t {
    DirectUnique = 0x10,
    DirectGroup = 0x11,
    Broadcast = 0x12,
};

inline constexpr std::uint8_t DatagramFlagMore = 0x01;
inline constexpr std::uint8_t DatagramFlagFirst = 0x02;
inline constexpr std::uint16_t NetbiosDatagramPort = 138;

/// UDP payload of one IPv4 packet: 65535 less the IP and UDP headers.
inline constexpr std::size_t MaxUdpPayloadSize = 65507;
/// Everything in a datagram besides the mailslot name and the data: header, two names, the fixed SMB
/// part and the name's NUL.
inline constexpr std::size_t MailslotDatagramOverhead = 14 + 2 * EncodedNetbiosNameSize + 69 + 1;
/// What Windows accepts between computers, mailslot name (with NUL) and message together; the message alone
/// is WindowsMaxMessageSize.
inline constexpr std::size_t WindowsMaxNameAndMessageSize = 443;

struct TMailslotDatagram {
    TDatagramType Type = TDatagramType::DirectGroup;
    std::uint8_t Flags = DatagramFlagFirst;  ///< FIRST, B-node; node type bits are carried as is
    std::uint16_t DatagramId = 0;
    std::uint32_t SourceAddress = 0;  ///< IPv4, host byte order
    std::uint16_t SourcePort = NetbiosDatagramPort;
    TNetbiosName SourceName;
    TNetbiosName DestinationName;
    std::string MailslotName;  ///< `\MAILSLOT\BOX`, without the NUL
    std::string Data;

    friend bool operator==(const TMailslotDatagram&, const TMailslotDatagram&) = default;
};

/// `\MAILSLOT\` followed by the box name.
std::string MailslotWireName(std::string_view boxName);

/// Whether a received mailslot name addresses the box, ignoring ASCII case.
bool MailslotNameMatches(const std::string& wireName, const std::string& boxName);

/// The most data one UDP packet carries to a mailslot name of this length (0 if not even the name fits).
std::size_t MaxMailslotDataSize(std::size_t mailslotNameLength);

/// The datagram as one unfragmented packet: FIRST set and MORE clear whatever `Flags` holds, names
/// normalised and without scope, no padding, Timeout 0, priority 0, class 2. Empty when it cannot be
/// sent so: a type outside the three, a mailslot name not under `\MAILSLOT\` or holding a NUL, or
/// more than fits one UDP packet.
std::string EncodeMailslotDatagram(const TMailslotDatagram& datagram);

/// Nothing unless `bytes` is one whole, unscoped datagram of type 0x10-0x12 whose user data is a
/// well-formed class-2 mailslot write; every count is checked against the bytes present. Bytes after
/// DGM_LENGTH are ignored, and the data is taken from DataOffset, so padded senders are understood.
std::optional<TMailslotDatagram> DecodeMailslotDatagram(std::string_view bytes);
