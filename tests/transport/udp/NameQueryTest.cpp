// Tests of the name service codec: the reference query and answer, RD handling, rejected requests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HexBytes.h"
#include "NameQuery.h"

namespace {

const std::string EncodedLinuxBox = FromHex(
    "20 45 4d 45 4a 45 4f 46 46 46 49 45 43 45 50 46 49"
    "43 41 43 41 43 41 43 41 43 41 43 41 43 41 41 41 00");
const std::string ReferenceQuery =
    FromHex("57 49 01 10 00 01 00 00 00 00 00 00") + EncodedLinuxBox + FromHex("00 20 00 01");
const std::string ReferenceAnswer = FromHex("57 49 85 00 00 00 00 01 00 00 00 00") + EncodedLinuxBox +
                                    FromHex("00 20 00 01 00 04 93 e0 00 06 00 00 c0 a8 01 14");
constexpr std::uint32_t LinuxBoxAddress = 0xC0A80114;  // 192.168.1.20

TEST(NameQuery, ReproducesReferencePair) {
    ASSERT_EQ(ReferenceQuery.size(), 50u);
    ASSERT_EQ(ReferenceAnswer.size(), NameQueryResponseSize);
    const auto query = DecodeNameQuery(ReferenceQuery);
    ASSERT_TRUE(query.has_value());
    EXPECT_EQ(query->TransactionId, 0x5749);
    EXPECT_TRUE(query->RecursionDesired);
    EXPECT_TRUE(query->Broadcast);
    EXPECT_EQ(query->Name, (TNetbiosName{"LINUXBOX", 0x00}));
    EXPECT_EQ(EncodeNameQuery(*query), ReferenceQuery);
    EXPECT_EQ(EncodeNameQueryResponse(*query, LinuxBoxAddress), ReferenceAnswer);
}

TEST(NameQuery, AnswerEchoesIdAndRecursionFlag) {
    struct TRow {
        const char* Label;
        unsigned Flags;
        unsigned AnswerFlags;
    };
    const std::vector<TRow> rows = {
        {"unicast query without RD", 0x0000, 0x8400},
        {"query to a name server", 0x0100, 0x8500},
        {"broadcast without RD", 0x0010, 0x8400},
    };
    for (const TRow& row : rows) {
        std::string bytes = ReferenceQuery;
        SetBig16(bytes, 0, 0xBEEF);
        SetBig16(bytes, 2, row.Flags);
        const auto query = DecodeNameQuery(bytes);
        ASSERT_TRUE(query.has_value()) << row.Label;
        EXPECT_EQ(EncodeNameQuery(*query), bytes) << row.Label;
        std::string expected = ReferenceAnswer;
        SetBig16(expected, 0, 0xBEEF);
        SetBig16(expected, 2, row.AnswerFlags);
        EXPECT_EQ(EncodeNameQueryResponse(*query, LinuxBoxAddress), expected) << row.Label;
    }
}

TEST(NameQuery, RejectsWhatIsNoNameQuery) {
    auto big16 = [](std::size_t at, unsigned value) {
        std::string bytes = ReferenceQuery;
        SetBig16(bytes, at, value);
        return bytes;
    };
    std::string badLetter = ReferenceQuery;
    badLetter[20] = 'Z';
    const std::string scoped = ReferenceQuery.substr(0, 45) + "\x03LAN" + ReferenceQuery.substr(45);
    const std::string pointer = ReferenceQuery.substr(0, 12) + FromHex("c0 0c 00 20 00 01");
    struct TRow {
        const char* Label;
        std::string Bytes;
    };
    const std::vector<TRow> rows = {
        {"a response", ReferenceAnswer},
        {"response bit on a query", big16(2, 0x8110)},
        {"registration opcode", big16(2, 0x2910)},
        {"release opcode", big16(2, 0x3010)},
        {"no question", big16(4, 0)},
        {"two questions", big16(4, 2)},
        {"node status type", big16(46, 0x0021)},
        {"class other than IN", big16(48, 0x0002)},
        {"bad name letter", badLetter},
        {"scoped name", scoped},
        {"compressed name", pointer},
    };
    ASSERT_TRUE(DecodeNameQuery(ReferenceQuery).has_value());
    for (const TRow& row : rows) {
        EXPECT_FALSE(DecodeNameQuery(row.Bytes).has_value()) << row.Label;
    }
    for (std::size_t size = 0; size < ReferenceQuery.size(); ++size) {
        const TExactBuffer cut(std::string_view(ReferenceQuery).substr(0, size));
        EXPECT_FALSE(DecodeNameQuery(cut.View()).has_value()) << "cut to " << size;
    }
}

}  // namespace
