// NetBIOS names and their first-level encoding, shared by the datagram and the name service codecs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "messenger/ComputerName.h"

/// One NetBIOS name: up to 15 bytes of text without padding, and the suffix byte that gives its type.
struct TNetbiosName {
    std::string Name;
    std::uint8_t Suffix = 0x00;

    friend bool operator==(const TNetbiosName&, const TNetbiosName&) = default;
};

/// The computer name and the workgroup's group name both carry this suffix.
inline constexpr std::uint8_t NetbiosSuffixWorkstation = 0x00;
inline constexpr std::size_t NetbiosNameLength = 15;
/// Length byte, 32 letters 'A'..'P', the empty label that ends the name (no scope).
inline constexpr std::size_t EncodedNetbiosNameSize = 34;

/// The name text as it goes on the wire: ASCII letters upper-cased, cut to 15 bytes, trailing blanks
/// dropped (they cannot be told from padding). Bytes above 0x7F stand as they are.
std::string NormalizeNetbiosName(std::string_view name);

/// Appends the 34-byte encoding of the normalised name: "*" is padded with NULs, every other name
/// with blanks, byte 16 is the suffix.
void AppendEncodedNetbiosName(std::string& out, const TNetbiosName& name);

struct TDecodedNetbiosName {
    TNetbiosName Name;    ///< text as on the wire, trailing blanks (or the NULs after "*") removed
    std::string Scope;    ///< scope labels joined by '.', empty when the name has none
    std::size_t End = 0;  ///< offset of the first byte after the encoded name
};

/// Decodes the name that starts at `offset`. Scope labels are read and returned so that callers can
/// drop scoped names; a label may not exceed 63 bytes, the whole name 255 bytes (as in DNS), and
/// compression pointers are refused. Nothing when the first label is not 32 letters 'A'..'P' or the
/// name runs past the end of `bytes`.
std::optional<TDecodedNetbiosName> DecodeNetbiosName(std::string_view bytes, std::size_t offset);
