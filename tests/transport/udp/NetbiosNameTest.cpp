// Tests of the NetBIOS name encoding: reference encodings, round trips and rejected inputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HexBytes.h"
#include "NetbiosName.h"

namespace {

using namespace std::string_literals;

std::string Encoded(const std::string& name, std::uint8_t suffix) {
    std::string out;
    AppendEncodedNetbiosName(out, {name, suffix});
    return out;
}

std::string Label(const std::string& letters) {
    return std::string(1, '\x20') + letters + std::string(1, '\0');
}

std::string Times(const std::string& s, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += s;
    }
    return out;
}

TEST(NetbiosName, EncodesReferenceNames) {
    struct TRow {
        const char* Label;
        std::string Name;
        std::uint8_t Suffix;
        std::string Expected;
    };
    const std::vector<TRow> rows = {
        {"computer", "WS01", 0x00, Label("FHFDDADB" + Times("CA", 11) + "AA")},
        {"workgroup", "WORKGROUP", 0x00, Label("FHEPFCELEHFCEPFFFA" + Times("CA", 6) + "AA")},
        {"linux host", "LINUXBOX", 0x00, Label("EMEJEOFFFIECEPFI" + Times("CA", 7) + "AA")},
        {"lower case is upper-cased", "linuxBox", 0x00, Label("EMEJEOFFFIECEPFI" + Times("CA", 7) + "AA")},
        {"wildcard padded with NULs", "*", 0x00, Label("CK" + Times("AA", 15))},
        {"master browser suffix", "WORKGROUP", 0x1D, Label("FHEPFCELEHFCEPFFFA" + Times("CA", 6) + "BN")},
        {"suffix above 0x7F", "WS01", 0xFF, Label("FHFDDADB" + Times("CA", 11) + "PP")},
        {"longer name cut to 15", "ABCDEFGHIJKLMNOPQ", 0x20, Label("EBECEDEEEFEGEHEIEJEKELEMENEOEPCA")},
    };
    for (const TRow& row : rows) {
        EXPECT_EQ(Encoded(row.Name, row.Suffix), row.Expected) << row.Label;
    }
}

TEST(NetbiosName, DecodesWhatWasEncodedInNormalisedForm) {
    struct TRow {
        const char* Label;
        std::string Name;
        std::uint8_t Suffix;
        std::string Decoded;
    };
    const std::vector<TRow> rows = {
        {"15 characters", "ABCDEFGHIJKLMNO", 0x00, "ABCDEFGHIJKLMNO"},
        {"longer name cut to 15", "VERYLONGCOMPUTERNAME", 0x00, "VERYLONGCOMPUTE"},
        {"lower case upper-cased", "linux-box.lan", 0x00, "LINUX-BOX.LAN"},
        {"wildcard", "*", 0x00, "*"},
        {"master browser suffix", "WORKGROUP", 0x1D, "WORKGROUP"},
        {"suffix 0x80", "PC02", 0x80, "PC02"},
        {"suffix 0xFF", "PC02", 0xFF, "PC02"},
        {"bytes above 0x7F kept", "caf\xe9", 0x00, "CAF\xe9"},
        {"inner blank kept, trailing dropped", "A B  ", 0x03, "A B"},
        {"blank cut off at 15", "ABCDEFGHIJKLMN OPQ", 0x00, "ABCDEFGHIJKLMN"},
        {"empty name", "", 0x00, ""},
        {"star with more is no wildcard", "*\0"s, 0x00, "*\0"s},
    };
    const std::string prefix = "xyz";
    for (const TRow& row : rows) {
        const std::string bytes = prefix + Encoded(row.Name, row.Suffix);
        ASSERT_EQ(bytes.size(), prefix.size() + EncodedNetbiosNameSize) << row.Label;
        const auto decoded = DecodeNetbiosName(bytes, prefix.size());
        ASSERT_TRUE(decoded.has_value()) << row.Label;
        EXPECT_EQ(decoded->Name.Name, row.Decoded) << row.Label;
        EXPECT_EQ(decoded->Name.Name, NormalizeNetbiosName(row.Name)) << row.Label;
        EXPECT_EQ(decoded->Name.Suffix, row.Suffix) << row.Label;
        EXPECT_EQ(decoded->Scope, "") << row.Label;
        EXPECT_EQ(decoded->End, bytes.size()) << row.Label;
    }
}

TEST(NetbiosName, ReadsAndBoundsScopeLabels) {
    const std::string name = Encoded("WS01", 0x00);
    const std::string scoped = name.substr(0, 33) + "\x07NETBIOS\003COM" + std::string(1, '\0') + "rest";
    const auto decoded = DecodeNetbiosName(scoped, 0);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->Name, (TNetbiosName{"WS01", 0x00}));
    EXPECT_EQ(decoded->Scope, "NETBIOS.COM");
    EXPECT_EQ(decoded->End, scoped.size() - 4);

    // 33 bytes of first label, then scope labels of 63 bytes each up to exactly 255 bytes in all.
    const std::string label63 = "\x3F" + std::string(63, 's');
    const std::string fill = name.substr(0, 33) + label63 + label63 + label63;  // 225 bytes
    const std::string at255 = fill + "\x1C" + std::string(28, 't') + std::string(1, '\0');
    ASSERT_EQ(at255.size(), 255u);
    EXPECT_TRUE(DecodeNetbiosName(at255, 0).has_value());
    const std::string at256 = fill + "\x1D" + std::string(29, 't') + std::string(1, '\0');
    EXPECT_FALSE(DecodeNetbiosName(at256, 0).has_value());
}

TEST(NetbiosName, RejectsMalformedEncodings) {
    const std::string valid = Encoded("WS01", 0x00);
    auto with = [&](std::size_t at, char c) {
        std::string bytes = valid;
        bytes[at] = c;
        return bytes;
    };
    struct TRow {
        const char* Label;
        std::string Bytes;
    };
    const std::vector<TRow> rows = {
        {"length byte 0x1F", with(0, '\x1F')},
        {"length byte 0x21", with(0, '\x21')},
        {"letter after P", with(5, 'Q')},
        {"letter before A", with(6, '@')},
        {"lower-case letter", with(1, 'f')},
        {"compression pointer instead of name", FromHex("c0 0c") + valid.substr(2)},
        {"compression pointer as scope", valid.substr(0, 33) + FromHex("c0 0c 00")},
        {"scope label of 64 bytes",
         valid.substr(0, 33) + "\x40" + std::string(64, 's') + std::string(1, '\0')},
        {"scope label past the end", valid.substr(0, 33) + "\005AB"},
        {"no terminating label", valid.substr(0, 33) + "\002AB"},
    };
    for (const TRow& row : rows) {
        EXPECT_FALSE(DecodeNetbiosName(row.Bytes, 0).has_value()) << row.Label;
    }
    for (std::size_t size = 0; size < valid.size(); ++size) {
        const TExactBuffer cut(std::string_view(valid).substr(0, size));
        EXPECT_FALSE(DecodeNetbiosName(cut.View(), 0).has_value()) << "cut to " << size;
    }
    EXPECT_FALSE(DecodeNetbiosName(valid, valid.size()).has_value()) << "offset at the end";
    EXPECT_FALSE(DecodeNetbiosName(valid, valid.size() + 7).has_value()) << "offset past the end";
    EXPECT_FALSE(DecodeNetbiosName(valid, 1).has_value()) << "offset inside the name";
}

}  // namespace
