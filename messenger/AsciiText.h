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

/// The computer name that a host name gives, the way Samba derives its default NetBIOS name: the host name
/// up to its first dot, upper-cased, cut to the 15 bytes that a NetBIOS name holds. Windows computers know
/// each other by that form only, so announcing anything longer would name a computer nobody can address.
inline std::string NetbiosNameOfHost(std::string_view host) {
    return ToUpperAscii(host.substr(0, std::min(host.find('.'), std::string_view::size_type{15})));
}
