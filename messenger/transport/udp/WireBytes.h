// Reading and writing the fixed-width fields of the wire formats: NetBIOS fields are big-endian, SMB ones
// little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace WireBytes {

// Callers bound every offset against the size before they read.
inline unsigned Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}
inline std::uint16_t Big16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(Byte(b, at) << 8 | Byte(b, at + 1));
}
inline std::uint32_t Big32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(Big16(b, at)) << 16 | Big16(b, at + 2);
}
inline std::uint16_t Little16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(Byte(b, at) | Byte(b, at + 1) << 8);
}

inline void Put8(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
}
inline void PutBig16(std::string& out, unsigned value) {
    Put8(out, value >> 8);
    Put8(out, value);
}
inline void PutBig32(std::string& out, std::uint32_t value) {
    PutBig16(out, value >> 16);
    PutBig16(out, value & 0xFFFF);
}
inline void PutLittle16(std::string& out, unsigned value) {
    Put8(out, value);
    Put8(out, value >> 8);
}

}  // namespace WireBytes
