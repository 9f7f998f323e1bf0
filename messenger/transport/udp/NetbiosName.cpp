// First-level encoding of NetBIOS names: each of the 16 raw bytes becomes two letters 'A'..'P'.
#include "messenger/transport/udp/NetbiosName.h"

#include <algorithm>
#include <utility>

#include "messenger/AsciiText.h"
#include "messenger/transport/udp/WireBytes.h"

using WireBytes::Byte;

namespace {

constexpr std::size_t FirstLabelLength = 32;
constexpr std::size_t MaxScopeLabelLength = 63;
constexpr std::size_t MaxEncodedNameSize = 255;
// The node-status wildcard is the one name padded with NULs instead of blanks.
constexpr std::string_view WildcardRaw{"*\0\0\0\0\0\0\0\0\0\0\0\0\0\0", NetbiosNameLength};

bool IsHalfAsciiLetter(unsigned c) {
    return c >= 'A' && c <= 'P';
}

}  // namespace

std::string NormalizeNetbiosName(std::string_view name) {
    std::string result = ToUpperAscii(name.substr(0, NetbiosNameLength));
    while (!result.empty() && result.back() == ' ') {
        result.pop_back();
    }
    return result;
}

void AppendEncodedNetbiosName(std::string& out, const TNetbiosName& name) {
    std::string raw = NormalizeNetbiosName(name.Name);
    raw.resize(NetbiosNameLength, raw == "*" ? '\0' : ' ');
    raw.push_back(static_cast<char>(name.Suffix));
    out.push_back(static_cast<char>(FirstLabelLength));
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(static_cast<char>('A' + (b >> 4)));
        out.push_back(static_cast<char>('A' + (b & 0x0F)));
    }
    out.push_back('\0');
}

std::optional<TDecodedNetbiosName> DecodeNetbiosName(std::string_view bytes, std::size_t offset) {
    if (offset >= bytes.size() || bytes.size() - offset < EncodedNetbiosNameSize) {
        return std::nullopt;
    }
    if (Byte(bytes, offset) != FirstLabelLength) {
        return std::nullopt;
    }
    std::string raw;
    for (std::size_t at = offset + 1; at < offset + 1 + FirstLabelLength; at += 2) {
        const unsigned high = Byte(bytes, at);
        const unsigned low = Byte(bytes, at + 1);
        if (!IsHalfAsciiLetter(high) || !IsHalfAsciiLetter(low)) {
            return std::nullopt;
        }
        raw.push_back(static_cast<char>(((high - 'A') << 4) | (low - 'A')));
    }

    TDecodedNetbiosName result;
    result.Name.Suffix = static_cast<std::uint8_t>(raw.back());
    raw.pop_back();
    if (raw == WildcardRaw) {
        raw.resize(1);
    }
    while (!raw.empty() && raw.back() == ' ') {
        raw.pop_back();
    }
    result.Name.Name = std::move(raw);

    // Scope labels follow until the empty label; a length of 64 or more is a pointer or a reserved
    // label type, neither of which a datagram or a name query of ours may carry.
    std::size_t at = offset + 1 + FirstLabelLength;
    while (at - offset < MaxEncodedNameSize && at < bytes.size()) {
        const std::size_t length = Byte(bytes, at);
        if (length == 0) {
            result.End = at + 1;
            return result;
        }
        if (length > MaxScopeLabelLength || bytes.size() - at - 1 < length) {
            return std::nullopt;
        }
        if (!result.Scope.empty()) {
            result.Scope.push_back('.');
        }
        result.Scope.append(bytes.substr(at + 1, length));
        at += 1 + length;
    }
    return std::nullopt;
}
