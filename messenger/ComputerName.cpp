// The rules for computer names, shared by the engine, the settings and the NetBIOS codec.
#include "messenger/ComputerName.h"

#include <algorithm>

#include "messenger/AsciiText.h"

bool IsValidComputerName(std::string_view name) {
    constexpr std::size_t MaxLength = 15;  // what a NetBIOS name holds
    const auto forbidden = [](unsigned char c) {
        return c < 0x20 || c == 0x7F ||
               std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
    };
    return !name.empty() && name.size() <= MaxLength && name.front() != '.' && name.back() != ' ' &&
           std::ranges::none_of(name, forbidden);
}

bool IsListableComputer(std::string_view name, std::string_view ownName) {
    return IsValidComputerName(name) && !EqualsIgnoringCase(name, ownName);
}
