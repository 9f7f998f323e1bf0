// Byte layout of a mailslot write: datagram header in network order, SMB transaction in little endian.
#include "messenger/transport/udp/MailslotDatagram.h"

#include "messenger/AsciiText.h"
#include "messenger/transport/udp/WireBytes.h"

using namespace WireBytes;

namespace {

constexpr std::size_t HeaderSize = 14;
constexpr std::string_view SmbProtocol = "\xFFSMB";
constexpr std::string_view MailslotPrefix = "\\MAILSLOT\\";
constexpr std::uint8_t SmbComTransaction = 0x25;
constexpr std::uint8_t TransactionWordCount = 17;
constexpr std::uint8_t MailslotSetupCount = 3;
constexpr std::uint16_t MailslotWriteOpcode = 1;
// Class 1 ("reliable") exists only for writes over an SMB session; a datagram claiming it is no
// mailslot write that this program knows, so only class 2 is accepted.
constexpr std::uint16_t UnreliableClass = 2;

// Offsets inside the SMB message, which is also the base of DataOffset.
constexpr std::size_t SmbCommandAt = 4;
constexpr std::size_t WordCountAt = 32;
constexpr std::size_t TotalDataCountAt = 35;
constexpr std::size_t DataCountAt = 55;
constexpr std::size_t DataOffsetAt = 57;
constexpr std::size_t SetupCountAt = 59;
constexpr std::size_t OpcodeAt = 61;
constexpr std::size_t ClassAt = 65;
constexpr std::size_t ByteCountAt = 67;
constexpr std::size_t SmbFixedSize = 69;

bool IsMailslotName(std::string_view name) {
    return name.size() >= MailslotPrefix.size() &&
           EqualsIgnoringCase(name.substr(0, MailslotPrefix.size()), MailslotPrefix);
}

bool IsDataType(unsigned type) {
    return type >= 0x10 && type <= 0x12;
}

void AppendSmbMailslotWrite(std::string& out, const TMailslotDatagram& datagram) {
    const std::size_t dataSize = datagram.Data.size();
    const std::size_t dataOffset = SmbFixedSize + datagram.MailslotName.size() + 1;
    out.append(SmbProtocol);
    Put8(out, SmbComTransaction);
    out.append(WordCountAt - SmbCommandAt - 1, '\0');  // status, flags, ids: all zero in a mailslot write
    Put8(out, TransactionWordCount);
    PutLittle16(out, 0);  // TotalParameterCount
    PutLittle16(out, static_cast<unsigned>(dataSize));
    out.append(DataCountAt - TotalDataCountAt - 2, '\0');  // maxima, flags, Timeout, parameters: zero
    PutLittle16(out, static_cast<unsigned>(dataSize));
    PutLittle16(out, static_cast<unsigned>(dataOffset));
    Put8(out, MailslotSetupCount);
    Put8(out, 0);
    PutLittle16(out, MailslotWriteOpcode);
    PutLittle16(out, 0);  // priority
    PutLittle16(out, UnreliableClass);
    PutLittle16(out, static_cast<unsigned>(dataOffset - SmbFixedSize + dataSize));
    out.append(datagram.MailslotName);
    out.push_back('\0');
    out.append(datagram.Data);
}

// Fills MailslotName and Data from the SMB message `smb`, or says no.
bool DecodeSmbMailslotWrite(std::string_view smb, TMailslotDatagram& datagram) {
    if (smb.size() < SmbFixedSize || smb.substr(0, SmbProtocol.size()) != SmbProtocol ||
        Byte(smb, SmbCommandAt) != SmbComTransaction || Byte(smb, WordCountAt) != TransactionWordCount ||
        Byte(smb, SetupCountAt) != MailslotSetupCount || Little16(smb, OpcodeAt) != MailslotWriteOpcode ||
        Little16(smb, ClassAt) != UnreliableClass) {
        return false;
    }
    const std::size_t byteCount = Little16(smb, ByteCountAt);
    if (byteCount > smb.size() - SmbFixedSize) {
        return false;
    }
    const std::string_view block = smb.substr(SmbFixedSize, byteCount);
    const std::size_t nul = block.find('\0');
    if (nul == std::string_view::npos || !IsMailslotName(block.substr(0, nul))) {
        return false;
    }
    const std::size_t dataCount = Little16(smb, DataCountAt);
    const std::size_t dataOffset = Little16(smb, DataOffsetAt);
    if (dataOffset < SmbFixedSize + nul + 1 || dataOffset > smb.size() ||
        dataCount > smb.size() - dataOffset || dataCount != Little16(smb, TotalDataCountAt)) {
        return false;
    }
    datagram.MailslotName = block.substr(0, nul);
    datagram.Data = smb.substr(dataOffset, dataCount);
    return true;
}

}  // namespace

std::string MailslotWireName(std::string_view boxName) {
    std::string name(MailslotPrefix);
    name.append(boxName);
    return name;
}

bool MailslotNameMatches(const std::string& wireName, const std::string& boxName) {
    return IsMailslotName(wireName) &&
           EqualsIgnoringCase(std::string_view(wireName).substr(MailslotPrefix.size()), boxName);
}

std::size_t MaxMailslotDataSize(std::size_t mailslotNameLength) {
    const std::size_t used = MailslotDatagramOverhead + mailslotNameLength;
    return used < MaxUdpPayloadSize ? MaxUdpPayloadSize - used : 0;
}

std::string EncodeMailslotDatagram(const TMailslotDatagram& datagram) {
    const std::string& name = datagram.MailslotName;
    if (!IsDataType(static_cast<unsigned>(datagram.Type)) || !IsMailslotName(name) ||
        name.find('\0') != std::string::npos || MailslotDatagramOverhead + name.size() > MaxUdpPayloadSize ||
        datagram.Data.size() > MaxMailslotDataSize(name.size())) {
        return {};
    }
    const std::size_t total = MailslotDatagramOverhead + name.size() + datagram.Data.size();
    std::string out;
    out.reserve(total);
    Put8(out, static_cast<unsigned>(datagram.Type));
    Put8(out, (datagram.Flags | DatagramFlagFirst) & ~DatagramFlagMore);
    PutBig16(out, datagram.DatagramId);
    PutBig32(out, datagram.SourceAddress);
    PutBig16(out, datagram.SourcePort);
    PutBig16(out, static_cast<unsigned>(total - HeaderSize));
    PutBig16(out, 0);  // PACKET_OFFSET
    AppendEncodedNetbiosName(out, datagram.SourceName);
    AppendEncodedNetbiosName(out, datagram.DestinationName);
    AppendSmbMailslotWrite(out, datagram);
    return out;
}

std::optional<TMailslotDatagram> DecodeMailslotDatagram(std::string_view bytes) {
    if (bytes.size() < HeaderSize || !IsDataType(Byte(bytes, 0))) {
        return std::nullopt;
    }
    TMailslotDatagram datagram;
    datagram.Type = static_cast<TDatagramType>(Byte(bytes, 0));
    datagram.Flags = static_cast<std::uint8_t>(Byte(bytes, 1));
    // Fragments are dropped rather than reassembled: no sender of mailslot writes splits them.
    if ((datagram.Flags & DatagramFlagFirst) == 0 || (datagram.Flags & DatagramFlagMore) != 0 ||
        Big16(bytes, 12) != 0) {
        return std::nullopt;
    }
    datagram.DatagramId = Big16(bytes, 2);
    datagram.SourceAddress = Big32(bytes, 4);
    datagram.SourcePort = Big16(bytes, 8);
    const std::size_t length = Big16(bytes, 10);
    if (length > bytes.size() - HeaderSize) {
        return std::nullopt;
    }
    const std::string_view packet = bytes.substr(0, HeaderSize + length);

    // This node has no NetBIOS scope, and a scoped name belongs to another name space.
    const auto source = DecodeNetbiosName(packet, HeaderSize);
    if (!source || !source->Scope.empty()) {
        return std::nullopt;
    }
    const auto destination = DecodeNetbiosName(packet, source->End);
    if (!destination || !destination->Scope.empty()) {
        return std::nullopt;
    }
    datagram.SourceName = source->Name;
    datagram.DestinationName = destination->Name;
    if (!DecodeSmbMailslotWrite(packet.substr(destination->End), datagram)) {
        return std::nullopt;
    }
    return datagram;
}
