// NetBIOS names and the name service codec: encodings both ways, scope bounds, the reference query and
// answer, and rejected inputs.
#include <gtest/gtest.h>

#include "messenger/AsciiText.h"
#include "messenger/transport/udp/NameQuery.h"
#include "messenger/transport/udp/NetbiosName.h"
#include "tests/transport/udp/HexBytes.h"

namespace {

using namespace std::string_literals;

std::string Encoded(const std::string& name, std::uint8_t suffix) {
    std::string out;
    AppendEncodedNetbiosName(out, {name, suffix});
    return out;
}

// Names both ways in normalised form, scope labels read, and malformed encodings, cuts and offsets rejected.
TEST(NetbiosName, EncodesAndDecodesNamesAndRejectsMalformedOnes) {
    // What, the name and suffix, the 32 letters it is encoded as, the name it is read back as.
    const std::tuple<const char*, std::string, std::uint8_t, const char*, std::string> rows[] = {
        {"computer", "WS01", 0x00, "FHFDDADBCACACACACACACACACACACAAA", "WS01"},
        {"lower case upper-cased", "zebraBox", 0x00, "FKEFECFCEBECEPFICACACACACACACAAA", "ZEBRABOX"},
        {"wildcard padded with NULs", "*", 0x00, "CKAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "*"},
        {"star with more is no wildcard", "*\0"s, 0x00, "CKAACACACACACACACACACACACACACAAA", "*\0"s},
        {"master browser suffix", "WORKGROUP", 0x1D, "FHEPFCELEHFCEPFFFACACACACACACABN", "WORKGROUP"},
        {"longer name cut to 15", "ABCDEFGHIJKLMNOPQ", 0x20, "EBECEDEEEFEGEHEIEJEKELEMENEOEPCA",
         "ABCDEFGHIJKLMNO"},
        {"bytes above 0x7F kept", "caf\xe9", 0x00, "EDEBEGOJCACACACACACACACACACACAAA", "CAF\xe9"},
        {"inner blank kept, trailing dropped", "A B  ", 0x03, "EBCAECCACACACACACACACACACACACAAD", "A B"},
    };
    for (const auto& [label, name, suffix, letters, read] : rows) {
        const std::string bytes = Encoded(name, suffix);
        EXPECT_EQ(bytes, "\x20"s + letters + "\0"s) << label;
        const auto decoded = DecodeNetbiosName("xyz" + bytes, 3).value_or(TDecodedNetbiosName{});
        EXPECT_EQ(std::tie(decoded.Name, decoded.Scope, decoded.End),
                  std::tuple(TNetbiosName{read, suffix}, "", 37u))
            << label;
    }
    const std::string valid = Encoded("WS01", 0x00), first = valid.substr(0, 33);
    const auto scoped = DecodeNetbiosName(first + "\7NETBIOS\3COM\0rest"s, 0).value_or(TDecodedNetbiosName{});
    EXPECT_EQ(scoped.Scope + "|" + std::to_string(scoped.End), "NETBIOS.COM|46");
    for (const auto& [label, bytes] :
         TNamedBytes{{"length byte 0x1F", With(valid, 0, "\x1F")},
                     {"letter after P", With(valid, 5, "Q")},
                     {"lower-case letter", With(valid, 1, "f")},
                     {"compression pointer instead of name", With(valid, 0, "\xc0\x0c")},
                     {"compression pointer as scope", first + "\xc0\x0c\0"s},
                     {"scope label of 64 bytes", first + "\x40" + std::string(64, 's') + "\0"s},
                     {"scope label past the end", first + "\005AB"},
                     {"no terminating label", first + "\002AB"}})
        EXPECT_FALSE(DecodeNetbiosName(bytes, 0).has_value()) << label;
    for (std::size_t size = 0; size < valid.size(); ++size)
        EXPECT_FALSE(DecodeNetbiosName(TExactBuffer(valid.substr(0, size)).View(), 0)) << "cut to " << size;
    for (const std::size_t offset : {valid.size(), valid.size() + 7, std::size_t{1}})
        EXPECT_FALSE(DecodeNetbiosName(valid, offset).has_value()) << "offset " << offset;
}

TEST(NetbiosName, DerivesTheComputerNameFromTheHostNameAndValidatesAConfiguredOne) {
    // clang-format off
    for (const auto& [host, name] : {std::pair{"accounting-laptop-07", "ACCOUNTING-LAPT"},
             {"pc7.example.org", "PC7"}, {"Exactly15Bytes!", "EXACTLY15BYTES!"}, {".leading-dot", ""},
             {"a-very-long-name.with.dots", "A-VERY-LONG-NAM"}, {"caf\xc3\xa9-zone", "CAF\xc3\xa9-ZONE"}})
        EXPECT_EQ(NetbiosNameOfHost(host), name) << host;
    for (const char* good : {"A", "PC-7", "OFFICE.PC", "ABCDEFGHIJKLMNO", "A B", "!@#$%^&'(){}~_"})
        EXPECT_TRUE(IsValidComputerName(good)) << good;
    for (const auto& bad : {""s, "ABCDEFGHIJKLMNOP"s, ".PC"s, "PC "s, "A\tB"s, "A\0B"s, "A\x7F"s, "A\\B"s,
                            "A/B"s, "A:B"s, "*"s, "A?B"s, "A\"B"s, "A<B"s, "A>B"s, "A|B"s})
        EXPECT_FALSE(IsValidComputerName(bad)) << bad;
    // clang-format on
    // The engine's rule for "the same computer" tells apart exactly the names the wire tells apart.
    for (const auto& [a, b, same] : {std::tuple{"ws01", "WS01", true},
                                     {"WS01", "WS02", false},
                                     {"PC  ", "pc", true},
                                     {" PC", "PC", false},
                                     {"ABCDEFGHIJKLMNOP", "abcdefghijklmnoQ", true},
                                     {"ABCDEFGHIJKLMN P", "ABCDEFGHIJKLMN", true},
                                     {"caf\xe9", "CAF\xe9", true},
                                     {"caf\xe9", "CAF\xc9", false},
                                     {"", " ", true}}) {
        EXPECT_EQ(SameComputerName(a, b), same) << a << '|' << b;
        EXPECT_EQ(NormalizeNetbiosName(a) == NormalizeNetbiosName(b), same) << a << '|' << b;
    }
}

const std::string LinuxBox = Encoded("LINUXBOX", 0);
const std::string ReferenceQuery =
    FromHex("57 49 01 10 00 01 00 00 00 00 00 00") + LinuxBox + FromHex("00 20 00 01");
const std::string ReferenceAnswer = FromHex("57 49 85 00 00 00 00 01 00 00 00 00") + LinuxBox +
                                    FromHex("00 20 00 01 00 04 93 e0 00 06 00 00 c0 a8 01 14");

// The answer echoes the query's id and recursion flag. Every truncation of the reference query and answer
// fails too, down to the last byte.
TEST(NameQuery, AnswersTheReferenceQueryAndReadsOnlyWellFormedQueriesAndPositiveAnswers) {
    EXPECT_EQ(DecodeNameQuery(ReferenceQuery), (TNameQuery{0x5749, true, true, {"LINUXBOX", 0x00}}));
    for (const auto& [label, flags, answerFlags] :
         {std::tuple{"reference: broadcast with RD", 0x0110, 0x8500},
          {"unicast query without RD", 0x0000, 0x8400}}) {
        const std::string bytes = With(With(ReferenceQuery, 0, Big16(0xBEEF)), 2, Big16(flags));
        const auto query = DecodeNameQuery(bytes);
        ASSERT_TRUE(query.has_value()) << label;
        EXPECT_EQ(EncodeNameQuery(*query), bytes) << label;
        EXPECT_EQ(EncodeNameQueryResponse(*query, 0xC0A80114),
                  With(With(ReferenceAnswer, 0, Big16(0xBEEF)), 2, Big16(answerFlags)))
            << label;
    }
    const std::string &q = ReferenceQuery, &a = ReferenceAnswer;
    const auto two = DecodeNameQueryResponse(With(a, 54, Big16(12)) + FromHex("60 00 0a 00 00 07"))
                         .value_or(TNameQueryAnswer{});
    EXPECT_EQ(
        std::tie(two.TransactionId, two.Name, two.Addresses),
        std::tuple(0x5749, TNetbiosName{"LINUXBOX", 0}, std::vector<std::uint32_t>{0xC0A80114, 0x0A000007}));
    using TReader = bool (*)(std::string_view);
    const TReader query = [](std::string_view bytes) { return DecodeNameQuery(bytes).has_value(); };
    const TReader answer = [](std::string_view bytes) { return DecodeNameQueryResponse(bytes).has_value(); };
    // clang-format off
    using TRow = std::tuple<const char*, TReader, std::string>;
    for (const auto& [label, read, bytes] : std::initializer_list<TRow>{
             {"a response as a query", query, a}, {"registration opcode", query, With(q, 2, Big16(0x2910))},
             {"response bit on a query", query, With(q, 2, Big16(0x8110))},
             {"no question", query, With(q, 4, Big16(0))}, {"two questions", query, With(q, 4, Big16(2))},
             {"node status query", query, With(q, 46, Big16(0x0021))},
             {"class other than IN", query, With(q, 48, Big16(0x0002))},
             {"scoped name", query, q.substr(0, 45) + "\x03LAN" + q.substr(45)},
             {"a query as an answer", answer, q}, {"negative answer", answer, With(a, 2, Big16(0x8503))},
             {"release opcode", answer, With(a, 2, Big16(0xB500))},
             {"no answer record", answer, With(a, 6, Big16(0))},
             {"node status answer", answer, With(a, 46, Big16(0x0021))},
             {"odd entry length", answer, With(a, 54, Big16(5))},
             {"entries past the end", answer, With(a, 54, Big16(12))}})
        EXPECT_FALSE(read(bytes)) << label;
    // clang-format on
    for (const auto& [whole, read] : {std::pair{q, query}, {a, answer}})
        for (std::size_t size = 0; size <= whole.size(); ++size)
            EXPECT_EQ(read(TExactBuffer(whole.substr(0, size)).View()), size == whole.size()) << size;
}

}  // namespace
