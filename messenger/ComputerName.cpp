// The rules for computer names, shared by the engine, the settings and the NetBIOS codec.
#include "messenger/ComputerName.h"

#include <algorithm>

#include "messenger/AsciiText.h"

namespace {

constexpr std::size_t MaxLength = 15;  // what a NetBIOS name holds

// The part of a name that the network carries and compares.
std::string_view Carried(std::string_view name) {
    name = name.substr(0, MaxLength);
    while (!name.empty() && name.back() == ' ') {
        name.remove_suffix(1);
    }
    return name;
}

}  // namespace

bool IsValidComputerName(std::string_view name) {
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

bool SameComputerName(std::string_view a, std::string_view b) {
    return EqualsIgnoringCase(Carried(a), Carried(b));
}
