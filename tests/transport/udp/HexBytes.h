// Test helpers: byte strings written as hex dumps, 16-bit fields, and buffers sized exactly so over-reads
// are caught.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// "11 02 12 34" -> the four bytes; blanks and line breaks between the pairs are ignored.
inline std::string FromHex(std::string_view hex) {
    std::string out;
    for (std::size_t at = hex.find_first_not_of(" \n"); at != std::string_view::npos;
         at = hex.find_first_not_of(" \n", at + 2))
        out.push_back(static_cast<char>(std::stoi(std::string(hex.substr(at, 2)), nullptr, 16)));
    return out;
}

/// Rows of a table: a label and the bytes of one case.
using TNamedBytes = std::initializer_list<std::pair<const char*, std::string>>;

/// A 16-bit value as two bytes, in network order or little-endian.
inline std::string Big16(unsigned v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v)};
}
inline std::string Little16(unsigned v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8)};
}

/// `bytes` with `part` written over them at `at`.
inline std::string With(std::string bytes, std::size_t at, const std::string& part) {
    return bytes.replace(at, part.size(), part);
}

/// A heap copy with no slack after the last byte, unlike a std::string whose short-string buffer
/// would hide a read past the end from the address sanitizer.
struct TExactBuffer {
    explicit TExactBuffer(std::string_view bytes) : Bytes(bytes.begin(), bytes.end()) {}
    std::string_view View() const { return {Bytes.data(), Bytes.size()}; }
    std::vector<char> Bytes;
};
