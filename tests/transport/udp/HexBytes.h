// Test helpers: byte strings written as hex dumps, 16-bit fields, and buffers sized exactly so over-reads
// are caught.
#pragma once

#include <cctype>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// "11 02 12 34" -> the four bytes; blanks and line breaks are ignored.
inline std::string FromHex(std::string_view hex) {
    std::string digits, out;
    for (const char c : hex)
        if (!std::isspace(static_cast<unsigned char>(c)))
            digits += c;
    if (digits.size() % 2 != 0 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw std::invalid_argument("not a hex dump: " + digits);
    for (std::size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

/// Rows of a table: a label and the bytes of one case.
using TNamedBytes = std::initializer_list<std::pair<const char*, std::string>>;

/// A 16-bit value as two bytes, in network order or little-endian.
inline std::string Big16(unsigned value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value)};
}
inline std::string Little16(unsigned value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8)};
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
