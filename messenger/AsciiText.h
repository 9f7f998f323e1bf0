// The ASCII rules by which mailbox and computer names compare on the network: case is folded for the
// letters A-Z only, and every other byte stands as it is.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

inline char ToUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string ToUpperAscii(std::string_view text) {
    std::string result(text);
    std::ranges::transform(result, result.begin(), [](char c) { return ToUpperAscii(c); });
    return result;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return ToUpperAscii(x) == ToUpperAscii(y); });
}
