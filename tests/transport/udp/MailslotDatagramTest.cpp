// Tests of the mailslot datagram codec: the reference packet, count arithmetic, accepted variants
// and one rejected case for every check the decoder makes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "HexBytes.h"
#include "MailslotDatagram.h"

namespace {

// 57 bytes to \MAILSLOT\MB303 from WS01 (192.168.1.10) to WORKGROUP as a direct group datagram.
const std::string WorkedExample = FromHex(R"(
11 02 12 34 c0 a8 01 0a 00 8a 00 d2 00 00 20 46
48 46 44 44 41 44 42 43 41 43 41 43 41 43 41 43
41 43 41 43 41 43 41 43 41 43 41 43 41 41 41 00
20 46 48 45 50 46 43 45 4c 45 48 46 43 45 50 46
46 46 41 43 41 43 41 43 41 43 41 43 41 43 41 41
41 00 ff 53 4d 42 25 00 00 00 00 00 00 00 00 00
00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
00 00 11 00 00 39 00 00 00 00 00 00 00 00 00 00
00 00 00 00 00 00 00 00 00 39 00 55 00 03 00 01
00 00 00 02 00 49 00 5c 4d 41 49 4c 53 4c 4f 54
5c 4d 42 33 30 33 00 41 42 43 44 45 46 47 48 49
4a 4b 4c 4d 4e 4f 50 51 52 53 54 55 56 57 58 59
5a 61 62 63 64 65 66 67 68 69 6a 6b 6c 6d 6e 6f
70 71 72 73 74 75 76 77 78 79 7a 31 32 33 34 35)");

// Offsets in the worked example: the SMB message starts at 0x52.
constexpr std::size_t DgmLengthAt = 10;
constexpr std::size_t SmbAt = 0x52;
constexpr std::size_t TotalDataCountAt = SmbAt + 35;
constexpr std::size_t DataCountAt = SmbAt + 55;
constexpr std::size_t DataOffsetAt = SmbAt + 57;
constexpr std::size_t ByteCountAt = SmbAt + 67;
constexpr std::size_t MailslotNameAt = SmbAt + 69;

TMailslotDatagram WorkedExampleDatagram() {
    TMailslotDatagram datagram;
    datagram.Type = TDatagramType::DirectGroup;
    datagram.Flags = DatagramFlagFirst;
    datagram.DatagramId = 0x1234;
    datagram.SourceAddress = 0xC0A8010A;
    datagram.SourcePort = 138;
    datagram.SourceName = {"WS01", 0x00};
    datagram.DestinationName = {"WORKGROUP", 0x00};
    datagram.MailslotName = "\\MAILSLOT\\MB303";
    datagram.Data = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz12345";
    return datagram;
}

unsigned Big16At(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]);
}
unsigned Little16At(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

// Inserts `extra` at `at` and grows DGM_LENGTH by as much, so only the inserted bytes are new.
std::string Inserted(std::string bytes, std::size_t at, const std::string& extra) {
    bytes.insert(at, extra);
    SetBig16(bytes, DgmLengthAt, Big16At(bytes, DgmLengthAt) + static_cast<unsigned>(extra.size()));
    return bytes;
}

TEST(MailslotDatagram, EncodesWorkedExampleByteForByte) {
    ASSERT_EQ(WorkedExample.size(), 224u);
    EXPECT_EQ(EncodeMailslotDatagram(WorkedExampleDatagram()), WorkedExample);
}

TEST(MailslotDatagram, DecodesWorkedExampleFieldByField) {
    const auto decoded = DecodeMailslotDatagram(WorkedExample);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->Type, TDatagramType::DirectGroup);
    EXPECT_EQ(decoded->Flags, 0x02);
    EXPECT_EQ(decoded->DatagramId, 0x1234);
    EXPECT_EQ(decoded->SourceAddress, 0xC0A8010Au);
    EXPECT_EQ(decoded->SourcePort, 138);
    EXPECT_EQ(decoded->SourceName, (TNetbiosName{"WS01", 0x00}));
    EXPECT_EQ(decoded->DestinationName, (TNetbiosName{"WORKGROUP", 0x00}));
    EXPECT_EQ(decoded->MailslotName, "\\MAILSLOT\\MB303");
    EXPECT_EQ(decoded->Data, WorkedExampleDatagram().Data);
}

TEST(MailslotDatagram, CountsFollowNameAndDataSizes) {
    struct TRow {
        const char* Label;
        std::string Box;
        std::size_t DataSize;
    };
    const std::vector<TRow> rows = {
        {"empty message", "MB303", 0},
        {"one byte", "MB303", 1},
        {"Windows message limit", "MB303", WindowsMaxMessageSize},
        {"Windows name-and-message limit", "X", WindowsMaxNameAndMessageSize - 12},
        {"fills one UDP packet", "MB303", MaxMailslotDataSize(15)},
        {"long box name, full packet", std::string(300, 'B'), MaxMailslotDataSize(310)},
    };
    for (const TRow& row : rows) {
        TMailslotDatagram datagram = WorkedExampleDatagram();
        datagram.MailslotName = MailslotWireName(row.Box);
        datagram.Data.assign(row.DataSize, '\0');
        for (std::size_t i = 0; i < row.DataSize; ++i) {
            datagram.Data[i] = static_cast<char>(i * 7);  // NULs and high bytes included
        }
        const std::string bytes = EncodeMailslotDatagram(datagram);
        const std::size_t nameSize = datagram.MailslotName.size();
        ASSERT_EQ(bytes.size(), 152 + nameSize + row.DataSize) << row.Label;
        EXPECT_LE(bytes.size(), MaxUdpPayloadSize) << row.Label;
        EXPECT_EQ(Big16At(bytes, DgmLengthAt), bytes.size() - 14) << row.Label;
        EXPECT_EQ(Little16At(bytes, DataOffsetAt), 70 + nameSize) << row.Label;
        EXPECT_EQ(Little16At(bytes, ByteCountAt), nameSize + 1 + row.DataSize) << row.Label;
        EXPECT_EQ(Little16At(bytes, DataCountAt), row.DataSize) << row.Label;
        EXPECT_EQ(Little16At(bytes, TotalDataCountAt), row.DataSize) << row.Label;
        EXPECT_EQ(DecodeMailslotDatagram(bytes), datagram) << row.Label;
    }
}

TEST(MailslotDatagram, RoundTripNormalisesNames) {
    TMailslotDatagram datagram = WorkedExampleDatagram();
    datagram.SourceName = {"linux-box.example", 0x00};
    datagram.DestinationName = {"*", 0x00};
    datagram.Type = TDatagramType::Broadcast;
    const auto decoded = DecodeMailslotDatagram(EncodeMailslotDatagram(datagram));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->SourceName, (TNetbiosName{"LINUX-BOX.EXAMP", 0x00}));
    EXPECT_EQ(decoded->DestinationName, (TNetbiosName{"*", 0x00}));
}

TEST(MailslotDatagram, EncoderRefusesWhatOnePacketCannotCarry) {
    struct TRow {
        const char* Label;
        std::function<void(TMailslotDatagram&)> Change;
    };
    const std::vector<TRow> rows = {
        {"one byte more than fits", [](auto& d) { d.Data.assign(MaxMailslotDataSize(15) + 1, 'x'); }},
        {"name alone too long", [](auto& d) { d.MailslotName = MailslotWireName(std::string(65400, 'B')); }},
        {"name alone too long, no data",
         [](auto& d) {
             d.MailslotName = MailslotWireName(std::string(65400, 'B'));
             d.Data.clear();
         }},
        {"datagram error type", [](auto& d) { d.Type = static_cast<TDatagramType>(0x13); }},
        {"not under \\MAILSLOT\\", [](auto& d) { d.MailslotName = "\\PIPE\\MB303"; }},
        {"NUL inside the name",
         [](auto& d) { d.MailslotName = std::string("\\MAILSLOT\\MB") + '\0' + "303"; }},
    };
    for (const TRow& row : rows) {
        TMailslotDatagram datagram = WorkedExampleDatagram();
        row.Change(datagram);
        EXPECT_EQ(EncodeMailslotDatagram(datagram), "") << row.Label;
    }
}

TEST(MailslotDatagram, EncoderSendsOneWholeFragmentKeepingOtherFlags) {
    struct TRow {
        std::uint8_t Flags;
        std::uint8_t OnWire;
    };
    for (const TRow row : {TRow{0x02, 0x02}, TRow{0x00, 0x02}, TRow{0x01, 0x02}, TRow{0x0B, 0x0A}}) {
        TMailslotDatagram datagram = WorkedExampleDatagram();
        datagram.Flags = row.Flags;
        EXPECT_EQ(static_cast<unsigned char>(EncodeMailslotDatagram(datagram)[1]), row.OnWire)
            << "flags " << int{row.Flags};
    }
}

TEST(MailslotDatagram, AcceptsWhatOtherSendersProduce) {
    struct TRow {
        const char* Label;
        std::string Bytes;
        std::function<void(TMailslotDatagram&)> Expected;
    };
    auto with = [](std::size_t at, char c) {
        std::string bytes = WorkedExample;
        bytes[at] = c;
        return bytes;
    };
    const std::vector<TRow> rows = {
        {"M-node flags", with(1, '\x0A'), [](auto& d) { d.Flags = 0x0A; }},
        {"reserved flag bit", with(1, '\x42'), [](auto& d) { d.Flags = 0x42; }},
        {"direct unique", with(0, '\x10'), [](auto& d) { d.Type = TDatagramType::DirectUnique; }},
        {"broadcast", with(0, '\x12'), [](auto& d) { d.Type = TDatagramType::Broadcast; }},
        {"timeout 1000", with(SmbAt + 45, '\xE8'), [](auto&) {}},
        {"priority 1", with(SmbAt + 63, '\x01'), [](auto&) {}},
        {"SMB flags set", with(SmbAt + 9, '\x18'), [](auto&) {}},
        {"lower-case mailslot name", with(MailslotNameAt + 2, 'a'),
         [](auto& d) { d.MailslotName = "\\MaILSLOT\\MB303"; }},
        {"bytes after DGM_LENGTH", WorkedExample + "trailer", [](auto&) {}},
    };
    for (const TRow& row : rows) {
        TMailslotDatagram expected = WorkedExampleDatagram();
        row.Expected(expected);
        EXPECT_EQ(DecodeMailslotDatagram(row.Bytes), expected) << row.Label;
    }
}

TEST(MailslotDatagram, PaddedSenderStillDecodes) {
    for (const std::string pad : {"\x01", "\x7F\x7F\x7F"}) {
        std::string bytes = Inserted(WorkedExample, MailslotNameAt + 16, pad);
        const auto padSize = static_cast<unsigned>(pad.size());
        SetLittle16(bytes, DataOffsetAt, Little16At(bytes, DataOffsetAt) + padSize);
        SetLittle16(bytes, ByteCountAt, Little16At(bytes, ByteCountAt) + padSize);
        EXPECT_EQ(DecodeMailslotDatagram(bytes), WorkedExampleDatagram()) << pad.size() << " pad bytes";
    }
}

TEST(MailslotDatagram, RejectsMalformedDatagrams) {
    auto with = [](std::size_t at, char c) {
        std::string bytes = WorkedExample;
        bytes[at] = c;
        return bytes;
    };
    auto big16 = [](std::size_t at, unsigned value) {
        std::string bytes = WorkedExample;
        SetBig16(bytes, at, value);
        return bytes;
    };
    auto little16 = [](std::size_t at, unsigned value) {
        std::string bytes = WorkedExample;
        SetLittle16(bytes, at, value);
        return bytes;
    };
    std::string dataBeyondSmb = little16(DataCountAt, 58);
    SetLittle16(dataBeyondSmb, TotalDataCountAt, 58);
    std::string smbCutBeforeByteCount = WorkedExample.substr(0, SmbAt + 68);
    SetBig16(smbCutBeforeByteCount, DgmLengthAt, SmbAt + 68 - 14);
    struct TRow {
        const char* Label;
        std::string Bytes;
    };
    const std::vector<TRow> rows = {
        {"shorter than the header", WorkedExample.substr(0, 13)},
        {"datagram error packet", FromHex("13 00 12 34 c0 a8 01 0a 00 8a 82")},
        {"error type on a full datagram", with(0, '\x13')},
        {"query request type", with(0, '\x14')},
        {"type below direct unique", with(0, '\x0F')},
        {"FIRST clear", with(1, '\x00')},
        {"MORE set", with(1, '\x03')},
        {"PACKET_OFFSET not 0", big16(12, 0x0100)},
        {"source name length byte", with(14, '\x1F')},
        {"source name letter", with(20, 'Z')},
        {"destination name letter", with(0x40, 'a')},
        {"source name with scope", Inserted(WorkedExample, 47, "\x03LAN")},
        {"destination name with scope", Inserted(WorkedExample, 81, "\x03LAN")},
        {"DGM_LENGTH beyond the bytes", big16(DgmLengthAt, 211)},
        {"DGM_LENGTH ends inside the names", big16(DgmLengthAt, 40)},
        {"protocol not FF", with(SmbAt, '\xFE')},
        {"protocol not SMB", with(SmbAt + 3, 'C')},
        {"command not TRANSACTION", with(SmbAt + 4, '\x32')},
        {"WordCount 16", with(SmbAt + 32, '\x10')},
        {"WordCount 18", with(SmbAt + 32, '\x12')},
        {"SetupCount 2", with(SmbAt + 59, '\x02')},
        {"opcode not write", with(SmbAt + 61, '\x02')},
        {"class 1", with(SmbAt + 65, '\x01')},
        {"class 3", with(SmbAt + 65, '\x03')},
        {"SMB cut before ByteCount", smbCutBeforeByteCount},
        {"ByteCount beyond the SMB message", little16(ByteCountAt, 74)},
        {"name not terminated within ByteCount", little16(ByteCountAt, 15)},
        {"name not under \\MAILSLOT\\", with(MailslotNameAt + 1, 'X')},
        {"name lacks the second backslash", with(MailslotNameAt + 9, '/')},
        {"DataOffset inside the name", little16(DataOffsetAt, 84)},
        {"DataOffset beyond the SMB message", little16(DataOffsetAt, 143)},
        {"DataOffset + DataCount beyond the SMB message", dataBeyondSmb},
        {"DataCount below TotalDataCount", little16(DataCountAt, 56)},
        {"TotalDataCount below DataCount", little16(TotalDataCountAt, 56)},
    };
    ASSERT_TRUE(DecodeMailslotDatagram(WorkedExample).has_value());
    for (const TRow& row : rows) {
        EXPECT_NE(row.Bytes, WorkedExample) << row.Label;
        EXPECT_FALSE(DecodeMailslotDatagram(row.Bytes).has_value()) << row.Label;
    }
}

TEST(MailslotDatagram, RejectsEveryTruncation) {
    for (std::size_t size = 0; size < WorkedExample.size(); ++size) {
        const TExactBuffer cut(std::string_view(WorkedExample).substr(0, size));
        EXPECT_FALSE(DecodeMailslotDatagram(cut.View()).has_value()) << "cut to " << size;
        if (size >= 14) {
            // Same cut with DGM_LENGTH agreeing, so the deeper counts must catch it.
            std::string agreeing = WorkedExample.substr(0, size);
            SetBig16(agreeing, DgmLengthAt, static_cast<unsigned>(size - 14));
            const TExactBuffer exact(agreeing);
            EXPECT_FALSE(DecodeMailslotDatagram(exact.View()).has_value())
                << "cut to " << size << ", length fixed";
        }
    }
}

TEST(MailslotDatagram, MatchesMailslotNamesIgnoringCase) {
    struct TRow {
        const char* Wire;
        const char* Box;
        bool Matches;
    };
    const std::vector<TRow> rows = {
        {"\\MAILSLOT\\MB303", "MB303", true},
        {"\\mailslot\\mb303", "MB303", true},
        {"\\MAILSLOT\\MB303", "mb303", true},
        {"\\MAILSLOT\\MB304", "MB303", false},
        {"\\MAILSLOT\\MB3030", "MB303", false},
        {"\\MAILSLOT\\MB30", "MB303", false},
        {"\\MAILSLOT\\", "MB303", false},
        {"\\MAILSLOTMB303", "MB303", false},
        {"\\PIPE\\MB303", "MB303", false},
        {"MB303", "MB303", false},
        {"\\MAILSLOT\\", "", true},
    };
    for (const TRow& row : rows) {
        EXPECT_EQ(MailslotNameMatches(row.Wire, row.Box), row.Matches) << row.Wire << " vs " << row.Box;
    }
}

}  // namespace
