// Test helpers: byte strings written as hex dumps, and buffers sized exactly so over-reads are caught.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

/// "11 02 12 34" -> the four bytes; blanks and line breaks are ignored.
inline std::string FromHex(std::string_view hex) {
    std::string out;
    int pending = -1;
    for (const char c : hex) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else if (c == ' ' || c == '\n') {
            continue;
        } else {
            throw std::invalid_argument("not a hex digit");
        }
        if (pending < 0) {
            pending = digit;
        } else {
            out.push_back(static_cast<char>(pending << 4 | digit));
            pending = -1;
        }
    }
    if (pending >= 0) {
        throw std::invalid_argument("odd number of hex digits");
    }
    return out;
}

/// A heap copy with no slack after the last byte, unlike a std::string whose short-string buffer
/// would hide a read past the end from the address sanitizer.
class TExactBuffer {
public:
    explicit TExactBuffer(std::string_view bytes) : Bytes(new char[bytes.size()]), Size(bytes.size()) {
        bytes.copy(Bytes.get(), Size);
    }
    std::string_view View() const { return {Bytes.get(), Size}; }

private:
    std::unique_ptr<char[]> Bytes;
    std::size_t Size = 0;
};

/// Stores a 16-bit value in network order at `at`.
inline void SetBig16(std::string& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<char>((value >> 8) & 0xFF);
    bytes[at + 1] = static_cast<char>(value & 0xFF);
}

/// Stores a 16-bit value in little-endian order at `at`.
inline void SetLittle16(std::string& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}
